// The program's settings as run-time variables, with their defaults. They
// are loaded from and saved to the registry at start-up and close; the
// calendar's own two switches live in calendar_flags.h.
#pragma once

// 1: the day window's lunar year list shows era-name years.
extern int DFORMShowDynastyFlag;
// What the day window's second information line shows: 0 festivals and
// seasons, 1 sunrise and sunset, 2 dawn and dusk.
extern int DFORMShowInfoTypeFlag;
