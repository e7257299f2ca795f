#include "shown_day.h"

#include "platform.h"

CalendarDate ShownDate{2000, 1, 1};
LunarDate ShownLunar{1999, 11, 25};
HijriDate ShownHijri{1420, 9, 24};
DateBounds ShownBounds{};
int SwitchPending = 0;

void SetShownDate(const CalendarDate& date)
{
    ShownDate = date;
    if (auto lunar = LunarDateOf(date)) ShownLunar = *lunar;
    if (auto hijri = HijriDateOf(date)) ShownHijri = *hijri;
}

void InitToday()
{
    LocalDateTime now = LocalNow();
    CalendarDate today{now.year, now.month, now.day};
    // A clock set outside the windows' years shows the nearest year's day.
    if (today.year < MinShownYear) today = {MinShownYear, 1, 1};
    if (today.year > MaxShownYear) today = {MaxShownYear, 12, 31};
    SetShownDate(today);
}

bool StepShownDay(int step)
{
    CalendarDate before = ShownDate;
    if (step == 0) {
        InitToday();
    } else if (auto next = StepDay(ShownDate, step)) {
        SetShownDate(*next);
    }
    return !(ShownDate == before);
}

void InitDateBounds()
{
    ShownBounds = ComputeDateBounds();
    SetShownDate(ShownDate);
}
