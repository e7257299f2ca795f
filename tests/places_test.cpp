#include "places.h"

#include <gtest/gtest.h>

TEST(Places, BuiltInCities)
{
    EXPECT_EQ(CityCount(), 43);
    EXPECT_STREQ(BuiltInCity(1).name, "天安门");
    EXPECT_EQ(BuiltInCity(1).longitude, -116.3833);
    EXPECT_EQ(BuiltInCity(1).latitude, 39.900001525878906);  // single precision
    EXPECT_STREQ(BuiltInCity(43).name, "台北");
    EXPECT_EQ(BuiltInCity(31).longitude, double(-91.1333f));
    for (int32_t code = 1; code <= CityCount(); ++code) {
        const City& c = BuiltInCity(code);
        EXPECT_TRUE(c.longitude < -80 && c.longitude > -130) << code;  // all east of Greenwich
        EXPECT_TRUE(c.latitude > 18 && c.latitude < 46) << code;
    }
}

TEST(Places, SelectCitySwitchesTheCurrentPlace)
{
    SelectCity(31);
    EXPECT_EQ(CurrentPlace.cityCode, 31);
    EXPECT_EQ(CurrentPlace.name, "拉萨");
    SelectCity(0);  // ignored
    SelectCity(45);
    EXPECT_EQ(CurrentPlace.cityCode, 31);
    MyCity = {"测试", -116.38, 30.5};
    SelectCity(CustomCityCode);
    EXPECT_EQ(CurrentPlace.cityCode, 44);
    EXPECT_EQ(CurrentPlace.name, "测试");
    EXPECT_EQ(CurrentPlace.longitude, -116.38);
    MyCity = {};
    SelectCity(1);
    EXPECT_EQ(CurrentPlace.name, "天安门");
}

TEST(Places, CoordinateTexts)
{
    EXPECT_EQ(CoordinateText(-116.3833, LongitudeCoordinate), "东经116.3833度");
    EXPECT_EQ(CoordinateText(39.900001525878906, LatitudeCoordinate), "北纬39.9000度");
    EXPECT_EQ(CoordinateText(-116.38, LongitudeCoordinate), "东经116.3800度");
    EXPECT_EQ(CoordinateText(0, LongitudeCoordinate), "东经0.0000度");
    EXPECT_EQ(CoordinateText(0, LatitudeCoordinate), "北纬0.0000度");
    EXPECT_EQ(CoordinateText(12.5, LongitudeCoordinate), "西经12.5000度");
    EXPECT_EQ(CoordinateText(-33.9, LatitudeCoordinate), "南纬33.9000度");
}

TEST(Places, TypedCoordinates)
{
    EXPECT_EQ(ReadTypedCoordinate("东经116.38度", LongitudeCoordinate), -116.38);
    EXPECT_EQ(ReadTypedCoordinate("西经0.5度", LongitudeCoordinate), 0.5);
    EXPECT_EQ(ReadTypedCoordinate("南纬33度", LatitudeCoordinate), -33.0);
    EXPECT_EQ(ReadTypedCoordinate("北纬90度", LatitudeCoordinate), 90.0);
    EXPECT_EQ(ReadTypedCoordinate("东经180度", LongitudeCoordinate), -180.0);
    // A zero is never negative, so it shows as 东经0.0000度 again.
    EXPECT_EQ(CoordinateText(*ReadTypedCoordinate("东经0度", LongitudeCoordinate), LongitudeCoordinate),
              "东经0.0000度");
    for (const char* refused : {"东经181度", "东经1.2.3度", "东经116", "116.38度", "北纬39度", "", "东经-5度",
                                "东经1e2度", "东经 5度"})
        EXPECT_EQ(ReadTypedCoordinate(refused, LongitudeCoordinate), std::nullopt) << refused;
    for (const char* refused : {"北纬-5度", "北纬90.01度", "东经30度", "南纬度度"})
        EXPECT_EQ(ReadTypedCoordinate(refused, LatitudeCoordinate), std::nullopt) << refused;
}
