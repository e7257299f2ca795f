#include "places.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "polynomial.h"

namespace {

// The 43 cities and their coordinates are the program's reference list,
// copied by hand: each city centre's longitude east and latitude north in
// degrees to the minute of arc (116.3833 is 116 degrees 23 minutes). They
// are kept exactly as the program has always held them, so that stored
// city codes and every printed sun time stay the same.
// Longitudes are stored negated (east is negative). Latitudes, and the
// longitudes of 拉萨 and 乌鲁木齐, are single-precision values.
const City Cities[BuiltInCityCount] = {
    {"天安门", -116.3833, F(39.9f)},     {"北京", -116.4, F(39.9f)},
    {"天津", -117.2, F(39.1167f)},       {"石家庄", -114.5167, F(38.05f)},
    {"北戴河", -119.4833, F(39.8333f)},  {"山海关", -119.7667, F(40.0f)},
    {"太原", -112.55, F(37.8667f)},      {"呼和浩特", -111.7333, F(40.8333f)},
    {"哈尔滨", -126.5333, F(45.8f)},     {"长春", -125.3167, F(43.9f)},
    {"沈阳", -123.4333, F(41.8f)},       {"大连", -121.6167, F(38.9167f)},
    {"济南", -116.9833, F(36.6667f)},    {"青岛", -120.3833, F(36.0667f)},
    {"南京", -118.7833, F(32.0667f)},    {"合肥", -117.25, F(31.8333f)},
    {"杭州", -120.15, F(30.2833f)},      {"宁波", -121.55, F(29.8833f)},
    {"福州", -119.3, F(26.0833f)},       {"厦门", -118.0833, F(24.4833f)},
    {"上海", -121.4667, F(31.2333f)},    {"广州", -113.2667, F(23.1333f)},
    {"深圳", -114.05, F(22.55f)},        {"海口", -110.3167, F(20.0333f)},
    {"三亚", -109.5, F(18.25f)},         {"南宁", -108.3667, F(22.8167f)},
    {"成都", -104.0667, F(30.6667f)},    {"重庆", -106.55, F(29.5667f)},
    {"贵阳", -106.6333, F(26.65f)},      {"昆明", -102.7167, F(25.05f)},
    {"拉萨", F(-91.1333f), F(29.65f)},   {"西宁", -101.7833, F(36.6167f)},
    {"乌鲁木齐", F(-87.6167f), F(43.8167f)}, {"银川", -106.2833, F(38.4667f)},
    {"兰州", -103.8167, F(36.0667f)},    {"西安", -108.9333, F(34.2667f)},
    {"郑州", -113.6167, F(34.75f)},      {"武汉", -114.3, F(30.6f)},
    {"长沙", -112.9333, F(28.2333f)},    {"南昌", -115.85, F(28.6833f)},
    {"香港", -114.0833, F(22.2f)},       {"澳门", -113.3333, F(22.1333f)},
    {"台北", -121.5, F(25.0333f)},
};

}  // namespace

Place CurrentPlace = {1, Cities[0].name, Cities[0].longitude, Cities[0].latitude};
CustomPlace MyCity;

const City& BuiltInCity(int32_t code) { return Cities[code - 1]; }

int32_t CityCount() { return BuiltInCityCount; }

void SelectCity(int32_t code)
{
    if (code >= 1 && code <= BuiltInCityCount) {
        const City& city = Cities[code - 1];
        CurrentPlace = {code, city.name, city.longitude, city.latitude};
    } else if (code == CustomCityCode) {
        CurrentPlace = {code, MyCity.name, MyCity.longitude, MyCity.latitude};
    }
}

std::string CoordinateText(double value, CoordinateKind kind)
{
    const char* hemisphere = kind == LongitudeCoordinate ? (value > 0 ? "西经" : "东经")
                                                         : (value >= 0 ? "北纬" : "南纬");
    char number[64];
    std::snprintf(number, sizeof number, "%.4f", std::fabs(value));
    return std::string(hemisphere) + number + "度";
}

std::optional<double> ReadTypedCoordinate(const std::string& text, CoordinateKind kind)
{
    const bool longitude = kind == LongitudeCoordinate;
    const std::string positive = longitude ? "西经" : "北纬", negative = longitude ? "东经" : "南纬";
    const std::string degree = "度";
    if (text.size() < 6 || text.compare(text.size() - 2, 2, degree) != 0) return std::nullopt;
    std::string head = text.substr(0, 4);
    if (head != positive && head != negative) return std::nullopt;
    std::string number = text.substr(4, text.size() - 6);
    if (number.find_first_not_of("1234567890.") != std::string::npos) return std::nullopt;
    if (std::count(number.begin(), number.end(), '.') > 1) return std::nullopt;
    double value = std::atof(number.c_str());
    if (value > (longitude ? 180 : 90)) return std::nullopt;
    return head == negative && value != 0 ? -value : value;
}
