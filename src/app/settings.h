// The program's settings as run-time variables, with their defaults. They
// are loaded from and saved to the registry at start-up and close; the
// calendar's own two switches live in calendar_flags.h.
//
// All settings are text values under HKEY_CURRENT_USER\Software\Lumora, read
// only when "Version" there is "4.0". Numbers are stored in their canonical
// text (NumberText) and a stored number in any other form takes the
// setting's default, so a hand-edited value never half-works.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// 1 while the program may keep its settings and stored days in the
// registry ("Version" = "4.0"); 0 on a machine where it never ran or where
// the user switched it off.
extern int UseRegistry;
// 1 when the program starts at log-on (the "Lumora" value of a Run key).
extern int AutoRunFlag;
// 1: announce every full hour.
extern int WholeAutoReportTimeFlag;
// 1: the background audio of the shown day is switched off.
extern int CloseFORMAudioPlayFlag;
// 1: a memorial day that a year lacks (29 February, a missing lunar or
// Hijri day) is shown on a nearby day instead.
extern int NearLocateMemorialFlag;
// 1: the day window's lunar year list shows era-name years.
extern int DFORMShowDynastyFlag;
// What the day window's second information line shows: 0 festivals and
// seasons, 1 sunrise and sunset, 2 dawn and dusk.
extern int DFORMShowInfoTypeFlag;
// 0: the day window opens; 1: the month window.
extern int ShowCalendarTypeFlag;
// The top-left corner of the main window when it last closed, in screen
// pixels; -1 when not set.
extern int32_t FormLeft;
extern int32_t FormTop;
// The day window's background bitmap (full path), "" for none.
extern std::string DFORMBackBitmapName;

// Run-time state that every load resets: the transparency level (0..9, 10 fading), the placement
// ("T" topmost, "D" in the desktop, "N" normal), the move lock ("N" movable,
// "Y" fixed), the bitmap chooser's first folder and the two flags that pause
// the fading.
extern int FORMTransFlag;
extern std::string PlacementMode;
extern std::string MoveMode;
extern std::string BitmapFolder;
extern int PopupMenuOpen;
extern int DropDownOpen;

// The running program's folder (with its final separator) and file name,
// "" where code page 936 cannot write them (a folder named with ö, ñ or
// Hangul): the file choosers then open at the system's own first folder.
extern std::string ProgramDir;
extern std::string ProgramFile;
// The running program's full path in UTF-8, which spells every path; the
// Run value is built from it. "" when the path is not known.
extern std::string ProgramPathUtf8;
// Splits the module path (code page 936) at its last ":", "/" or "\"; with
// none of them ProgramDir is "" and ProgramFile the whole path.
void SetProgramPaths(const std::string& modulePath);
// The same from a path in UTF-8, as the system gives the running program's.
void SetProgramPathsUtf8(const std::string& modulePathUtf8);
// SetProgramPathsUtf8 of the running program.
void InitProgramPaths();

// Loads every setting (and selects the current place), falling back to the
// defaults for what is missing or invalid, then resets the run-time state.
// The program paths must be known (InitProgramPaths) for the Run value.
void LoadSettings();
// The program paths and then the settings, as a start loads them, except
// that a calendar switch already on (lumora-cli's --modern and --chunjie,
// typed before the command) stays on whatever is stored.
void LoadStoredSettings();
// Writes every setting while UseRegistry is 1; while it is 0, removes all
// that the program may have left in the registry instead. The closing
// window puts its position into FormLeft/FormTop first.
void SaveSettings();
// The menu's "允许使用注册表(&U)": off removes the settings and the stored
// days at once; on marks the registry as the program's again.
void SetRegistryUse(bool on);

// Every setting by its registry name with its value as stored ("" for an
// empty text), in the registry's order, "registry" (UseRegistry, "on" or
// "off") first.
std::vector<std::pair<std::string, std::string>> SettingTexts();
// Changes one setting in memory, as the menu, the window or the
// local-coordinates dialog would, from its typed value: "" when done, else
// why not. The ranges are those a load accepts; the registry use itself is
// SetRegistryUse.
std::string ChangeSetting(const std::string& name, const std::string& value);

// A number as the registry stores it: rounded to 15 significant digits, no
// exponent, no trailing zeros after the point ("-116.3833", "120.5", "1").
std::string NumberText(double value);
// The value of a text that is exactly its own NumberText, else nullopt.
std::optional<double> CanonicalNumber(const std::string& text);
// True when path may be the day window's background: a drive-absolute path
// ("X:\...") of an existing file, not ending in "\", with the extension
// BMP in any case, that loads as a bitmap.
bool IsBackgroundBitmapPath(const std::string& path);
// The command of the "Lumora" Run value: the program path in double quotes,
// in UTF-8 (RegWriteUtf8Text).
std::string AutoRunCommand();
// Whether the program knows its own path, so that "开机自动运行(&P)" can
// name it; without it the option stays off and no Run value is written.
bool CanAutoRun();
