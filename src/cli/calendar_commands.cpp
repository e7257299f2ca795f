#include <cstdio>

#include "commands.h"

int DayCommand(const CommandArgs&) { std::fputs("day: not built yet\n", stderr); return 2; }
int MonthCommand(const CommandArgs&) { std::fputs("month: not built yet\n", stderr); return 2; }
