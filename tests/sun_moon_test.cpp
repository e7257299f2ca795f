#include <gtest/gtest.h>

#include <cmath>

#include "moon.h"
#include "series_tables.h"
#include "sun.h"
#include "time_scales.h"

TEST(SunAndMoon, PositionsAtJ2000)
{
    EXPECT_NEAR(SunApparentLongitude(2451545.0), 280.36816, 5e-6);
    EXPECT_NEAR(MoonApparentLongitude(2451545.0), 223.31438, 5e-6);
    EXPECT_NEAR(EarthDistance(2451545.0), 0.98332, 1e-5);
}

TEST(SunAndMoon, GeneralPrecessionDropsTermsFarFromJ2000)
{
    EXPECT_NEAR(GeneralPrecession(2816795.0), 14.00056, 5e-6);  // t = 1
    EXPECT_NEAR(GeneralPrecession(3547295.0), 42.18242, 5e-6);  // t = 3
    EXPECT_NEAR(GeneralPrecession(2451545.0 + 36525), 1.39728, 5e-6);
    EXPECT_NEAR(GeneralPrecession(2451545.0 - 365250), 346.06, 5e-3);
}

TEST(SunAndMoon, LongitudesStayInRangeAcrossTheEquinox)
{
    // Around the March equinox of 2024 the longitude runs through 360 to 0.
    bool sawHigh = false, sawLow = false;
    for (double jde = 2460389.0; jde < 2460391.0; jde += 1.0 / 24) {
        double sun = SunApparentLongitude(jde);
        ASSERT_TRUE(sun >= 0 && sun < 360) << jde;
        sawHigh |= sun > 359;
        sawLow |= sun < 1;
        double moon = MoonApparentLongitude(jde);
        ASSERT_TRUE(moon >= 0 && moon < 360) << jde;
    }
    EXPECT_TRUE(sawHigh && sawLow);
}

TEST(SunAndMoon, SecondBlockOfL0IsTiny)
{
    double bound = 0;
    for (const VsopTerm& t : EarthL0Extra) bound += t.amplitude;
    EXPECT_NEAR(bound, 2.913e-8, 1e-11);
}

TEST(SunAndMoon, DailyMotionsAreSane)
{
    // Over the range the calendar serves, the Sun moves about 1 degree and
    // the Moon about 13 degrees a day; a wrong term or sign breaks this.
    for (double jde = 1700000; jde < 3600000; jde += 37123.7) {
        double sun = NormalizeAngle(SunApparentLongitude(jde + 1) - SunApparentLongitude(jde), 180, 180);
        double moon = NormalizeAngle(MoonApparentLongitude(jde + 1) - MoonApparentLongitude(jde), 180, 180);
        EXPECT_TRUE(sun > 0.95 && sun < 1.03) << jde << " " << sun;
        EXPECT_TRUE(moon > 11.5 && moon < 15.5) << jde << " " << moon;
    }
}

// The quick readings hold the full ones within their bounds over the whole
// range of years, and the bounds stay small enough to settle most midnights.
TEST(SunAndMoon, QuickReadingsBoundTheFullOnes)
{
    for (double jde = 1684000.5; jde < 3547000; jde += 1234.567) {
        double nutation = NutationInLongitude(jde);
        for (RoughCut cut : {QuickCut, FineCut}) {
            RoughLongitude rough = RoughNutationInLongitude(jde, cut);
            ASSERT_LE(std::fabs(rough.value - nutation), rough.bound) << jde;
            RoughLongitude sun = RoughSunApparentLongitude(jde, rough, cut);
            double apart = std::fabs(NormalizeAngle(sun.value - SunApparentLongitude(jde, nutation), 0, 180));
            ASSERT_LE(apart, sun.bound) << jde << " " << cut;
            ASSERT_LT(sun.bound, cut == QuickCut ? 0.03 : 0.004) << jde;
        }
    }
}
