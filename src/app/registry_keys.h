// Where the program keeps its settings and its stored days, under the
// current user's registry root.
#pragma once

inline constexpr char LumoraKeyPath[] = "Software\\Lumora";
// Sub-keys of LumoraKeyPath holding the memorial days of each calendar.
inline constexpr char SolarMemorialKey[] = "SolarMemorial";
inline constexpr char LunarMemorialKey[] = "LunarMemorial";
inline constexpr char HijriMemorialKey[] = "MuharramMemorial";
inline constexpr char ReminderKeyPath[] = "Software\\Lumora\\SolarReminded";
