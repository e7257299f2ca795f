// The places for which sun times are computed: 43 built-in cities, one
// place of the user's own, and the current place chosen between them.
// Longitudes are positive WEST of Greenwich (天安门 is -116.3833).
#pragma once
#include <cstdint>
#include <optional>
#include <string>

struct City {
    const char* name;
    double longitude;  // degrees, west positive
    double latitude;   // degrees, north positive
};

constexpr int32_t BuiltInCityCount = 43;
constexpr int32_t CustomCityCode = BuiltInCityCount + 1;

// The built-in city of code 1..43.
const City& BuiltInCity(int32_t code);
int32_t CityCount();

struct Place {
    int32_t cityCode = 1;
    std::string name;
    double longitude = 0;
    double latitude = 0;
};

struct CustomPlace {
    std::string name;  // at most 12 bytes; empty means no own place
    double longitude = 0;
    double latitude = 0;
};

// The current place (天安门 until settings say otherwise) and the user's own.
extern Place CurrentPlace;
extern CustomPlace MyCity;

// 1..43 selects a built-in city, 44 the user's own place; other codes are
// ignored.
void SelectCity(int32_t code);

enum CoordinateKind { LongitudeCoordinate, LatitudeCoordinate };
// "东经116.3833度", "北纬39.9000度": hemisphere, absolute value to four
// decimals, "度".
std::string CoordinateText(double value, CoordinateKind kind);

// A coordinate as the user types it in the local-coordinates dialog:
// "西经"/"东经" (or "北纬"/"南纬"), digits with at most one ".", then "度",
// the value at most 180 (or 90). Returns the value with the place's signs
// (west and north positive); nullopt for anything else.
std::optional<double> ReadTypedCoordinate(const std::string& text, CoordinateKind kind);
