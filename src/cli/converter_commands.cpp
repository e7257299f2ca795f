#include <cstdio>

#include "commands.h"

int JulianCommand(const CommandArgs&) { std::fputs("julian: not built yet\n", stderr); return 2; }
int IntervalCommand(const CommandArgs&) { std::fputs("interval: not built yet\n", stderr); return 2; }
int GanzhiCommand(const CommandArgs&) { std::fputs("ganzhi: not built yet\n", stderr); return 2; }
int ExportCommand(const CommandArgs&) { std::fputs("export: not built yet\n", stderr); return 2; }
