// The registry as a damaged profile, a registry cleaner or another program
// may leave it: values of the wrong type where text is expected, texts of
// 64 KB, texts with an embedded zero or without their terminating one, and
// 10,000 values under SolarMemorial. The program starts, shows the day,
// saves at close and ends normally; what it cannot read counts as absent,
// and nothing readable that the user stored is lost or rewritten.
#include "scenarios.h"

#include "driver.h"

namespace {

// A value exactly as given: its type and its bytes, with no terminating
// zero added.
void SetRawValue(const wchar_t* key, const std::wstring& name, DWORD type, const void* data, size_t bytes)
{
    HKEY h;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(h, name.c_str(), 0, type, static_cast<const BYTE*>(data), DWORD(bytes));
    RegCloseKey(h);
}

void SetRawText(const wchar_t* key, const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ)
{
    SetRawValue(key, name, type, text.data(), text.size() * sizeof(wchar_t));
}

// The value's type and bytes; type 0 when there is no such value.
std::pair<DWORD, std::string> RawValue(const wchar_t* key, const std::wstring& name)
{
    HKEY h;
    std::pair<DWORD, std::string> value{0, ""};
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return value;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(h, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::string bytes(size, '\0');
        if (RegQueryValueExW(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) ==
            ERROR_SUCCESS)
            value = {type, bytes.substr(0, size)};
    }
    RegCloseKey(h);
    return value;
}

DWORD ValueCount(const wchar_t* key)
{
    HKEY h;
    DWORD count = 0;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return 0;
    RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(h);
    return count;
}

// "MM-DD" of the day `offset` days after d, as memorial values are named.
std::wstring MonthDayName(const CalendarDate& d, int offset)
{
    CalendarDate day = DayNumberToDate(DateToDayNumber(d) + offset).value_or(d);
    wchar_t name[8];
    swprintf(name, 8, L"%02d-%02d", day.month, day.day);
    return name;
}

}  // namespace

void ScenarioDamagedRegistry(Lumora& app)
{
    const std::wstring s = L"damaged registry";
    const wchar_t solar[] = L"Software\\Lumora\\SolarMemorial";
    const wchar_t lunar[] = L"Software\\Lumora\\LunarMemorial";
    const wchar_t hijri[] = L"Software\\Lumora\\MuharramMemorial";
    const wchar_t reminders[] = L"Software\\Lumora\\SolarReminded";
    const CalendarDate today = Today();
    const DWORD one = 1;
    const std::wstring longText(32768, L'\u5BB6');  // 64 KB

    // Settings: wrong types count as absent, also where their bytes would
    // read as a text that means something ("1", "21").
    PrepareSettings({{L"Version", L"4.0"}, {L"DFORMShowInfoTypeFlag", L"1"}, {L"GanZhiFromChunjieFlag", L"1"}});
    const DWORD textOne = 0x31;  // the bytes of L"1"
    SetRawValue(LumoraKey, L"DFORMShowDynastyFlag", REG_DWORD, &textOne, sizeof textOne);
    SetRawValue(LumoraKey, L"ShowCalendarTypeFlag", REG_BINARY, "1\0", 2);
    SetRawValue(LumoraKey, L"WholeAutoReportTimeFlag", REG_BINARY, "1", 1);
    SetRawText(LumoraKey, L"NowCityCode", std::wstring(L"21\0\0", 4), REG_MULTI_SZ);
    SetRawText(LumoraKey, L"MyCityName", longText);
    // Read as the text before the zero, and without a terminator as it stands.
    SetRawText(LumoraKey, L"FormLeft", std::wstring(L"100\0 900", 8));
    SetRawText(LumoraKey, L"FormTop", L"200");
    SetRawValue(LumoraKey, L"MyCountdownDay", REG_BINARY, "AD01-01-2100", 12);

    // Stored days: 10,000 values of no day, damaged values on the days the
    // window shows first, and readable ones that must stay as they are.
    for (int i = 0; i < 10000; ++i) SetRawText(solar, L"n" + Num(i), L"AD2000  value " + Num(i));
    SetRawValue(solar, MonthDayName(today, 0), REG_DWORD, &one, sizeof one);
    SetRawValue(solar, MonthDayName(today, 1), REG_BINARY, "AD2000      binary", 18);
    SetRawText(solar, MonthDayName(today, 2), L"AD2000" + longText);
    SetRawText(solar, MonthDayName(today, 3), std::wstring(L"AD2000      \u96F6\0tail", 18));
    SetRawText(solar, MonthDayName(today, 4), std::wstring(L"AD2000\0\0", 8), REG_MULTI_SZ);
    const std::wstring keptMemorial = L"AD2000            \u7ED3\u5A5A\u7EAA\u5FF5\u65E5";  // 结婚纪念日
    SetValue(MonthDayName(today, 10).c_str(), keptMemorial, HKEY_CURRENT_USER, solar);
    SetRawText(lunar, MonthDayName(today, 0), std::wstring(L"AD2000\0x\0\0", 10), REG_MULTI_SZ);
    SetRawValue(hijri, MonthDayName(today, 0), REG_DWORD, &one, sizeof one);
    SetRawText(reminders, L"A", std::wstring(L"AD01-01-2100\0\0", 14), REG_MULTI_SZ);
    SetRawValue(reminders, L"B", REG_DWORD, &one, sizeof one);
    const std::wstring keptReminder = L"AD01-01-2100          \u8FDC\u65E5";  // 远日
    SetValue(L"C", keptReminder, HKEY_CURRENT_USER, reminders);
    DWORD storedCount = ValueCount(solar);
    auto damagedToday = RawValue(solar, MonthDayName(today, 0));
    auto damagedLong = RawValue(solar, MonthDayName(today, 2));

    mirror = Mirror{};
    mirror.infoType = 1;
    mirror.chunjie = 1;
    if (!StartChecked(app, s)) return;
    RECT r = app.Rect();
    Check(s + L": the window at the stored position", r.left == 100 && r.top == 200,
          L"at " + Num(r.left) + L"," + Num(r.top));
    app.CheckShows(s + L": today in the day window, with 天安门's sun times and no era-name years", today, 5000);
    for (int offset : {1, 2, 3, 4}) {
        CalendarDate day = DayNumberToDate(DateToDayNumber(today) + offset).value_or(today);
        Check(s + L": shows the day " + Num(offset) + L" after today", app.GoTo(day));
    }
    CheckMenuMarks(app, L"of the damaged settings",
                   {{3025, true}, {3085, true}, {3087, false}, {3090, true}, {3095, false}, {3096, false},
                    {3097, true}, {3098, false}});
    Check(s + L": 退出 ends the program with exit code 0", app.Exit());

    // The settings are the program's and are written whole; the stored days
    // are the user's and are left exactly as they were.
    CheckText(s + L": Version kept", std::wstring(L"4.0"), GetValue(L"Version"));
    CheckText(s + L": the readable switch kept", std::wstring(L"1"), GetValue(L"GanZhiFromChunjieFlag"));
    CheckText(s + L": the position written from the window", std::wstring(L"100"), GetValue(L"FormLeft"));
    CheckText(s + L": an unreadable switch written with its default", std::wstring(L"0"),
              GetValue(L"DFORMShowDynastyFlag"));
    CheckText(s + L": an unreadable city written as the one shown", std::wstring(L"1"), GetValue(L"NowCityCode"));
    CheckNum(s + L": every stored memorial value kept", storedCount, ValueCount(solar));
    CheckText(s + L": the readable memorial unchanged", keptMemorial,
              GetValue(MonthDayName(today, 10).c_str(), HKEY_CURRENT_USER, solar));
    CheckText(s + L": the readable reminder unchanged", keptReminder, GetValue(L"C", HKEY_CURRENT_USER, reminders));
    Check(s + L": damaged stored days left as they were",
          RawValue(solar, MonthDayName(today, 0)) == damagedToday && RawValue(solar, MonthDayName(today, 2)) == damagedLong &&
              RawValue(reminders, L"A").first == REG_MULTI_SZ && RawValue(LumoraKey, L"MyCountdownDay").first == REG_BINARY);
}
