// The list of the memorial editor: the working copy of one kind of stored
// day, one line per entry, loaded from the registry, changed by adding and
// deleting, and written back whole on saving. The editor window shows these
// lines in its list box; lumora-cli memorial, reminder and countdown apply
// the same steps.
//
// A line (byte positions 1-based): a word of 4 bytes ("公历", "农历", "回历"
// for memorials, "提醒" for reminders, "倒计" for the countdown), the month
// (5-6) "月", the day (9-10) "日（", era (15-16) and year (17-20) "年）：", the
// text right-aligned in 20 bytes (27-46) and, for memorials and reminders,
// " " and the audio path. A memorial's month, day and year are those of its
// own calendar (months 13..24 are lunar leap months), the others' Gregorian.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "stored_days.h"

// The three menu commands open the editor in these modes.
enum class EditorMode { Memorial = 1, Reminder = 2, Countdown = 3 };

using EditorList = std::vector<std::string>;

// Mode 1: the Gregorian, lunar and Hijri memorials in that order, by month
// and day; mode 2: the reminder values "A".."T" that are valid; mode 3: the
// countdown when it is valid. Invalid stored entries are left out.
EditorList LoadEditorList(EditorMode mode);

// What an add button does with a date of one calendar, the text box and the
// audio box. In modes 2 and 3 a lunar or Hijri date becomes its Gregorian
// date, which must lie in 1800..2200 like every stored reminder. A line with
// the same key (mode 1: calendar, month and day; mode 2: the date; mode 3:
// any) is replaced in its place, otherwise the line is appended; a 21st
// reminder is refused, as only 20 are stored. The audio box is ignored in
// mode 3. The window ignores every outcome but Added.
enum class AddOutcome { Added, NoSuchDate, YearOutOfRange, EmptyText, ListFull };
struct AddResult {
    AddOutcome outcome;
    int selected = -1;  // the index of the new line, which becomes selected
};
AddResult AddEditorEntry(EditorList& list, EditorMode mode, MemorialCalendar calendar, int32_t year, int month, int day,
                         const std::string& text, const std::string& audio);

// The line prefixes that identify an entry: a memorial by its calendar,
// month and day; a reminder by its Gregorian date.
std::string MemorialLineKey(MemorialCalendar calendar, int month, int day);
std::string ReminderLineKey(const CalendarDate& date);
// The index of the first line that starts with key, -1 when none does.
int FindEditorLine(const EditorList& list, const std::string& key);
// Removes the line at index; false when there is no such line.
bool DeleteEditorLine(EditorList& list, int index);

// What selecting a line puts back into the date lists, the text box and the
// audio box. nullopt for a text that is no editor line.
struct EditorLineFields {
    MemorialCalendar calendar;  // Gregorian for reminders and the countdown
    int32_t year;
    int month;
    int day;
    std::string text;
    std::string audio;
};
std::optional<EditorLineFields> ReadEditorLine(const std::string& line);

// Rewrites the whole kind: mode 1 writes every line under the key of its
// calendar as the value "MM-DD", mode 2 writes line i as value "A" + i - 1,
// and then every other value of the kind is deleted, and a memorial or
// reminder key left without values is deleted whole; mode 3 writes the first
// line, or "" when the list is empty. The new values are written before the
// old ones go, so a save that never finishes loses nothing. Nothing is
// written while UseRegistry is 0.
void SaveEditorList(EditorMode mode, const EditorList& list);
// Called, when set, after a save has written its values and before it
// deletes any: tests stop a save there.
extern void (*AfterEditorWrites)();
