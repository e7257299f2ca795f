#include "solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "date_text.h"
#include "polynomial.h"
#include "sun.h"
#include "time_scales.h"

namespace {

// Moments are compared to within a tenth of a second.
constexpr double TenthSecond = 0.1 / 86400;

double SunLongitudeAtMoment(double moment)
{
    return SunApparentLongitude(ToDynamicalTime(moment - 0.5 - CalcZone / 24.0));
}

// Index 1..24 of the solar term at a moment, from the Sun's longitude then.
int TermIndexAt(double moment)
{
    int k = int(std::lround(SunLongitudeAtMoment(moment) / 15)) % 24 * 15;
    int n = 6 + k / 15;
    return n > 24 ? n - 24 : n;
}

}  // namespace

TEST(Solver, SolarTermsOfWinter2024)
{
    EXPECT_NEAR(NextSolarTermMoment(2460666, 0, 0), 2460666.72255, 5e-6);
    EXPECT_EQ(MomentToText(NextSolarTermMoment(2460666, 0, 0)), "AD12-21-2024 17:20:28");
    EXPECT_EQ(NextSolarTermIndex(2460666, 0), 24);
    // A day later the next term is 小寒 of 2025 at 10:32:40.7.
    EXPECT_NEAR(NextSolarTermMoment(2460667, 0, 0), 2460681.0 + (10 * 3600 + 32 * 60 + 40.7) / 86400,
                TenthSecond);
    EXPECT_EQ(NextSolarTermIndex(2460667, 0), 1);
    // Principal terms only: 大寒 at 04:00:02 (rounded).
    EXPECT_NEAR(NextSolarTermMoment(2460667, 1, 0), 2460696.0 + (4 * 3600 + 2) / 86400.0, 0.5 / 86400);
    // 立春 2024 at 16:27:02 (rounded).
    EXPECT_NEAR(AstroTermOnOrAfter(2460000, 3, 0), 2460345.0 + (16 * 3600 + 27 * 60 + 2) / 86400.0,
                0.5 / 86400);
}

TEST(Solver, MoonPhasesOfJanuary2024)
{
    EXPECT_NEAR(NextNewOrFullMoon(2460321, 0), 2460321.0 + (19 * 3600 + 57 * 60 + 20) / 86400.0,
                0.5 / 86400);
    EXPECT_NEAR(NextNewOrFullMoon(2460330, 1), 2460336.0 + (1 * 3600 + 53 * 60 + 55) / 86400.0,
                0.5 / 86400);
}

TEST(Solver, NextTermIsTheFirstOnOrAfterTheDay)
{
    // Every day of 2024: the term found lies on the day or later, no term
    // lies between the day and it, and its index names its longitude.
    for (int32_t day = 2460311; day <= 2460676; ++day) {
        double r = NextSolarTermMoment(day, 0, 0);
        int n = NextSolarTermIndex(day, 0);
        ASSERT_GE(std::floor(r), day);
        ASSERT_LT(r - day, 16.5) << day;
        double lambda = SunLongitudeAtMoment(r);
        double k = TermLongitude(n) % 360;
        ASSERT_NEAR(NormalizeAngle(lambda - k, 0, 180), 0, 1e-7) << day << " " << n;
        // At the local midnight that opens the day, the term is still ahead
        // and less than 15 degrees away.
        double before = SunLongitudeAtMoment(double(day));
        ASSERT_LT(NormalizeAngle(k - before, 180, 180), 15.0 + 1e-9) << day;
    }
}

TEST(Solver, PrincipalTermsSkipTheOthers)
{
    for (int32_t day = 2460311; day <= 2460676; day += 7) {
        double r = NextSolarTermMoment(day, 1, 0);
        double lambda = SunLongitudeAtMoment(r);
        ASSERT_NEAR(NormalizeAngle(lambda - 30 * std::round(lambda / 30), 0, 180), 0, 1e-7) << day;
        ASSERT_GE(std::floor(r), day);
        ASSERT_LT(r - day, 32) << day;
    }
}

TEST(Solver, TermDayCorrectionMovesTheListedDay)
{
    // The winter solstice of 105 BC is computed on day 1683429; the record
    // has it two days later.
    double computed = AstroTermOnOrAfter(1683420, 24, 0);
    EXPECT_EQ(std::floor(computed), 1683429);
    EXPECT_EQ(AstroTermOnOrAfter(1683420, 24, 1), 1683431.0);
    EXPECT_EQ(ApplyTermDayCorrection(1683429.3), 1683431.0);
    EXPECT_EQ(ApplyTermDayCorrection(1683430.3), 1683430.3);
}

TEST(Solver, NewMoonCorrectionsAndAdvance)
{
    // -1: to 23:59:59 of the day before; +1: to 00:00:00 of the next day.
    EXPECT_DOUBLE_EQ(ApplyNewMoonDayCorrection(1947877.4), 1947877 - 0.000011574);
    EXPECT_EQ(MomentToText(ApplyNewMoonDayCorrection(1947877.4)), "AD12-29-0620 23:59:59");
    EXPECT_EQ(ApplyNewMoonDayCorrection(1949825.2), 1949826.0);
    EXPECT_EQ(ApplyNewMoonDayCorrection(1947876.4), 1947876.4);
    EXPECT_EQ(ApplyNewMoonDayCorrection(1947878.4), 1947878.4);
    EXPECT_EQ(ApplyNewMoonDayCorrection(1e300), 1e300);

    // The new moon of 2024-01-11 falls at 19:57 (fraction 0.83).
    EXPECT_EQ(NewMoonWithAdvance(2460321, 0.75), 2460322.0);
    EXPECT_EQ(NewMoonWithAdvance(2460321, 0), NextNewOrFullMoon(2460321, 0));
    // A listed new moon at 23:37 is moved to the next day by the list.
    EXPECT_EQ(NewMoonWithAdvance(1949825, 0), 1949826.0);
    // The new moon of 1920-11-11 00:04 is listed -1 and moves to the day before.
    EXPECT_DOUBLE_EQ(NewMoonWithAdvance(2422639, 0), 2422640 - 0.000011574);
    // An excepted day keeps its late new moon (20:03) even with a threshold.
    double excepted = NewMoonWithAdvance(2022293, 0.01);
    EXPECT_EQ(std::floor(excepted), 2022293);
    EXPECT_EQ(excepted, NextNewOrFullMoon(2022293, 0));
}

TEST(Solver, ResidualIsTheAngleStillToGo)
{
    double r = LongitudeResidual(2451545.0, 281, SunMode);
    EXPECT_TRUE(r > 0 && r < 1);
    EXPECT_TRUE(LongitudeResidual(2451545.0, 279, SunMode) > 358);
    double jd = SolveLongitude(2451545.0, 90, SunMode);
    EXPECT_NEAR(NormalizeAngle(LongitudeResidual(jd, 90, SunMode), 0, 180), 0, 1e-8);
    EXPECT_GT(jd, 2451545.0);
}

// The day-level finders give the days of the moment finders, asked in
// ascending and in descending order with nothing kept: around events within
// seconds of a local midnight (new moons at 2472635.99990, 2389921.00073 of
// the correction list, solstices at 2434004.00006 and 2459570.99947, 大寒 at
// 2443894.99996), around the term day correction of 105 BC and the excepted
// new moon of 2022293, and on days spread over 800 years.
TEST(Solver, DayLevelFindersGiveTheDaysOfTheMomentFinders)
{
    std::vector<int32_t> days;
    for (int32_t event : {2472636, 2389921, 2434004, 2459571, 2443895, 1683429, 2022293})
        for (int32_t x = event - 31; x <= event + 1; x += (x < event - 3 ? 4 : 1)) days.push_back(x);
    for (int32_t x = 2240000; x < 2540000; x += 4001) days.push_back(x);
    for (int pass = 0; pass < 2; ++pass) {
        EraseDaySearches();
        for (int32_t x : days) {
            ASSERT_EQ(NextNewMoonDay(x), std::floor(NextNewOrFullMoon(x, 0))) << x;
            ASSERT_EQ(NextFullMoonDay(x), std::floor(NextNewOrFullMoon(x, 1))) << x;
            for (double threshold : {0.0, F(0.7908f)})
                ASSERT_EQ(NewMoonDayWithAdvance(x, threshold), std::floor(NewMoonWithAdvance(x, threshold)))
                    << x << " " << threshold;
            for (int correct : {0, 1}) {
                ASSERT_EQ(AstroTermDayOnOrAfter(x, 24, correct), std::floor(AstroTermOnOrAfter(x, 24, correct)))
                    << x << " " << correct;
                ASSERT_EQ(NextSolarTermIndex(x, correct), TermIndexAt(NextSolarTermMoment(x, 0, correct)))
                    << x << " " << correct;
                for (int principal : {0, 1}) {
                    double moment = NextSolarTermMoment(x, principal, correct), d = std::floor(moment);
                    ASSERT_EQ(NextSolarTermDay(x, principal, correct), d) << x << " " << principal << " " << correct;
                    // Texts to the second rely on the near moment keeping within a millisecond.
                    if (auto near = NearNextSolarTermMoment(x, principal, correct)) {
                        ASSERT_NEAR(*near, moment, 0.2e-3 / 86400) << x << " " << principal << " " << correct;
                    }
                    ASSERT_EQ(NextSolarTermWithin(x, principal, correct, x + 29), d <= x + 29)
                        << x << " " << principal << " " << correct;
                }
            }
        }
        std::reverse(days.begin(), days.end());
    }
}
