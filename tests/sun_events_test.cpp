#include "sun_events.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "time_scales.h"

namespace {

std::string Event(int32_t day, double lon, double lat, int kind)
{
    return SunEventTime(day, lon, lat, CalcZone, kind);
}

constexpr double TiananmenLon = -116.3833, TiananmenLat = 39.9;

}  // namespace

TEST(SunEvents, TiananmenAtTheSolstices)
{
    struct Case {
        int32_t day;
        int kind;
        const char* text;
    } cases[] = {
        {2460483, Sunrise, "04:46:10"}, {2460483, Sunset, "19:46:23"},
        {2460483, Dawn, "04:13:22"},    {2460483, Dusk, "20:19:11"},
        {2460483, Transit, "12:16:16"}, {2460483, DaylightLength, "15:00:12"},
        {2460666, Sunrise, "07:32:27"}, {2460666, Sunset, "16:52:34"},
        {2460666, Dawn, "07:01:55"},    {2460666, Dusk, "17:23:05"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Event(c.day, TiananmenLon, TiananmenLat, c.kind), c.text) << c.day << " " << c.kind;
}

TEST(SunEvents, PolarDayAndNight)
{
    EXPECT_EQ(Event(2460483, -20, 70, Sunrise), "00:00:00");
    EXPECT_EQ(Event(2460483, -20, 70, Sunset), "24:00:00");
    EXPECT_EQ(Event(2460483, -20, 70, DaylightLength), "24:00:00");
    EXPECT_EQ(Event(2460483, -20, 70, TwilightDaylightLength), "24:00:00");
    EXPECT_NE(Event(2460483, -20, 70, Transit), "00:00:00");
    EXPECT_EQ(Event(2460666, -20, 70, Sunrise), "00:00:00");
    EXPECT_EQ(Event(2460666, -20, 70, Sunset), "00:00:00");
    EXPECT_EQ(Event(2460666, -20, 70, DaylightLength), "00:00:00");
    EXPECT_EQ(Event(2460666, -20, 70, Transit), "00:00:00");
    EXPECT_EQ(Event(2460666, -20, 70, Dawn), "16:34:21");
    EXPECT_EQ(Event(2460666, -20, 70, Dusk), "20:41:44");
}

TEST(SunEvents, InvalidInputGivesTheEmptyText)
{
    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Event(2460483, TiananmenLon, 90.5, Sunrise), "");
    EXPECT_EQ(Event(2460483, TiananmenLon, TiananmenLat, 8), "");
    EXPECT_EQ(Event(2460483, TiananmenLon, TiananmenLat, 0), "");
    EXPECT_EQ(Event(2460483, -180.01, TiananmenLat, Sunrise), "");
    EXPECT_EQ(Event(2460483, nan, TiananmenLat, Sunrise), "");
    EXPECT_EQ(Event(2460483, TiananmenLon, nan, Sunrise), "");
    EXPECT_EQ(SunEventTime(2460483, TiananmenLon, TiananmenLat, 13, Sunrise), "");
    EXPECT_EQ(SunEventTime(2460483, TiananmenLon, TiananmenLat, -13, Sunrise), "");
    EXPECT_NE(Event(2460483, 180, 90, Sunrise), "");
}

TEST(SunEvents, TimeOfDayTextTruncatesAndWraps)
{
    EXPECT_EQ(TimeOfDayText(0.5), "12:00:00");
    EXPECT_EQ(TimeOfDayText(1 - 0.1 / 86400), "23:59:59");
    EXPECT_EQ(TimeOfDayText(-0.25), "18:00:00");
    EXPECT_EQ(TimeOfDayText(3.75), "18:00:00");
    EXPECT_EQ(TimeOfDayText(std::numeric_limits<double>::infinity()), "");
}

TEST(SunEvents, SiderealTimeAndObliquityAtJ2000)
{
    EXPECT_NEAR(MeanObliquity(0) / Degree, 23.43928, 1e-5);  // 84381.4088"
    // GMST at 2000-01-01 12:00 UT is 280.46 degrees.
    EXPECT_NEAR(NormalizeAngle(SiderealTime(0, 0) / Degree, 180, 180), 280.4606, 1e-3);
}
