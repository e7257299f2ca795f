// Reign-era (年号) names from 140 BC (西汉建元) to 1911 (清代宣统).
#pragma once
#include <cstdint>
#include <string>

// "清代宣统03": dynasty and era name with the two-digit era year, 10 bytes;
// outside -139..1911 the year in Chinese digits; "" outside -8999..9000.
std::string EraYearText(int32_t year);
