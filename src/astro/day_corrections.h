// The day lists that move single computed solar terms and new moons onto the
// days of the historical record, or exempt a new moon from being moved.
#pragma once
#include <cstdint>

struct TermDayCorrection {
    int32_t day;
    char sign;   // '+' or '-'
    int digit;
};

struct NewMoonDayCorrection {
    int32_t day;
    int shift;  // +1 or -1
};

extern const TermDayCorrection TermDayCorrections[1];
// Sorted by ascending day number so lookups can bisect.
extern const NewMoonDayCorrection NewMoonDayCorrections[595];
// Sorted by ascending day number.
extern const int32_t NewMoonExceptions[11];

// Lookups match the whole day number; nullptr / false when the day is absent.
const TermDayCorrection* FindTermDayCorrection(int32_t day);
const NewMoonDayCorrection* FindNewMoonDayCorrection(int32_t day);
bool IsNewMoonException(int32_t day);
