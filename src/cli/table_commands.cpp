#include <cstdio>

#include "commands.h"

int TermsCommand(const CommandArgs&) { std::fputs("terms: not built yet\n", stderr); return 2; }
int LunarMonthsCommand(const CommandArgs&) { std::fputs("lunar-months: not built yet\n", stderr); return 2; }
int MoonsCommand(const CommandArgs&) { std::fputs("moons: not built yet\n", stderr); return 2; }
int SunCommand(const CommandArgs&) { std::fputs("sun: not built yet\n", stderr); return 2; }
