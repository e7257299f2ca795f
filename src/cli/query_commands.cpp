#include <cstdio>

#include "commands.h"

int QueryCommand(const CommandArgs&) { std::fputs("query: not built yet\n", stderr); return 2; }
