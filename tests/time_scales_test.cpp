#include "time_scales.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(TimeScales, DeltaTAtSegmentJoints)
{
    struct Case {
        double year, seconds, tolerance;
    } cases[] = {
        {2000.0, 63.86, 1e-4},      {1600.0, 120.0, 1e-9},     {1000.0, 1574.2, 1e-3},
        {0.0, 10583.6, 1e-3},       {-500.0, 17203.66, 5e-3},  {500.0, 5710.0447, 1e-4},
        {499.9999, 5710.13, 5e-3},  {2149.9999, 328.48, 5e-3}, {2150.0, 317.59, 5e-3},
        {3000.0, 4296.44, 5e-3},    {5000.0, 31328.44, 5e-3},
    };
    for (const Case& c : cases) EXPECT_NEAR(DeltaT(c.year), c.seconds, c.tolerance) << c.year;
    // The coarse coefficients are single-precision values.
    EXPECT_DOUBLE_EQ(DeltaT(0.0), 10583.599609375);
}

TEST(TimeScales, DynamicalTimeAddsDeltaT)
{
    EXPECT_NEAR((ToDynamicalTime(2451545.0) - 2451545.0) * 86400, 63.86, 1e-4);
}

TEST(TimeScales, NormalizeAngleIsHalfOpen)
{
    EXPECT_EQ(NormalizeAngle(360, 180, 180), 0);
    EXPECT_EQ(NormalizeAngle(-15, 180, 180), 345);
    EXPECT_EQ(NormalizeAngle(720.5, 180, 180), 0.5);
    EXPECT_NEAR(NormalizeAngle(-0.0001, 180, 180), 359.9999, 1e-12);
    EXPECT_EQ(NormalizeAngle(180, 0, 180), -180);
    EXPECT_NEAR(NormalizeRadians(-0.5), 2 * Pi - 0.5, 1e-12);
}

TEST(TimeScales, LocalClockToUniversalFraction)
{
    EXPECT_DOUBLE_EQ(LocalTimeToDayFraction(0, 0, 0), -1.0 / 3);
    EXPECT_DOUBLE_EQ(LocalTimeToDayFraction(8, 0, 0), 0);
    EXPECT_DOUBLE_EQ(LocalTimeToDayFraction(20, 30, 0), 0.5 + 30.0 / 1440);
    double moment = MomentOfJd(2451545.0);  // 2000-01-01 12:00 UT is 20:00 in UTC+8
    EXPECT_EQ(std::floor(moment), 2451545);
    EXPECT_NEAR(moment - 2451545, 20.0 / 24, 1e-9);
    EXPECT_DOUBLE_EQ(LocalMidnightJd(2451545), 2451545 - 0.5 - 1.0 / 3);
}
