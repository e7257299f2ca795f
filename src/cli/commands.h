// The commands of lumora-cli besides `call`. Each takes the words after the
// command's name as program text (terminal.h), prints its result and
// returns the exit status: 0 done, 2 a bad request (with a message on
// standard error).
#pragma once
#include <string>
#include <vector>

using CommandArgs = std::vector<std::string>;

// main.cpp: the whole of lumora-cli, argv as main receives it; the program's
// main only calls it (cli_entry.cpp), and the argument fuzzer calls it too.
int RunCli(int argc, char** argv);

// calendar_commands.cpp: the day card and the month sheet.
int DayCommand(const CommandArgs& args);
int MonthCommand(const CommandArgs& args);
// table_commands.cpp: the yearly tables.
int TermsCommand(const CommandArgs& args);
int LunarMonthsCommand(const CommandArgs& args);
int MoonsCommand(const CommandArgs& args);
int SunCommand(const CommandArgs& args);
// converter_commands.cpp: the converter's results and the day export.
int JulianCommand(const CommandArgs& args);
int IntervalCommand(const CommandArgs& args);
int GanzhiCommand(const CommandArgs& args);
int ExportCommand(const CommandArgs& args);
// query_commands.cpp: the condition queries.
int QueryCommand(const CommandArgs& args);
// why_commands.cpp: where each lunar month comes from, and the days too
// close to midnight to be sure of.
int WhyCommand(const CommandArgs& args);
int UncertainCommand(const CommandArgs& args);
// settings_command.cpp: the settings in the registry.
int SettingsCommand(const CommandArgs& args);
// speak_command.cpp: the speaking clock's clips.
int SpeakCommand(const CommandArgs& args);
// ics_command.cpp: the span's days as an iCalendar file.
int IcsCommand(const CommandArgs& args);
// year_command.cpp: the twelve month sheets of a year.
int YearCommand(const CommandArgs& args);
// memorial_commands.cpp: the stored days, changed as the memorial editor does.
int MemorialCommand(const CommandArgs& args);
int ReminderCommand(const CommandArgs& args);
int CountdownCommand(const CommandArgs& args);
