// Names of the Chinese calendar, 1-based as the calendar counts them.
#pragma once

// The 24 solar terms from 小寒 (1, 285 degrees) to 冬至 (24, 270 degrees).
extern const char* const SolarTermNames[25];
