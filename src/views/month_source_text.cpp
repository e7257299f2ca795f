#include "month_source_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "calendar_flags.h"
#include "calendar_names.h"
#include "civil_calendar.h"
#include "date_text.h"
#include "day_card.h"
#include "gbk_text.h"

namespace {

std::string Format(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// "2024-02-10", "-0099-06-06".
std::string IsoDate(int32_t day)
{
    auto date = DayNumberToDate(day);
    if (!date) return "";
    char text[24];
    std::snprintf(text, sizeof text, "%s%04d-%02d-%02d", date->year < 0 ? "-" : "", std::abs(date->year),
                  date->month, date->day);
    return text;
}

// "HH:MM:SS" as the moment texts give it (truncated).
std::string ClockText(double moment)
{
    std::string text = MomentToText(moment);
    return text.size() >= 21 ? text.substr(13, 8) : "";
}

std::string IsoMoment(double moment) { return IsoDate(int32_t(std::floor(moment))) + " " + ClockText(moment); }

// "2024年2月10日", "前100年6月6日".
std::string ChineseDate(int32_t day)
{
    auto date = DayNumberToDate(day);
    if (!date) return "";
    std::string year = date->year <= 0 ? "前" + std::to_string(1 - int64_t(date->year)) : std::to_string(date->year);
    return year + "年" + std::to_string(date->month) + "月" + std::to_string(date->day) + "日";
}

std::string ChineseMoment(double moment)
{
    return ChineseDate(int32_t(std::floor(moment))) + " " + ClockText(moment);
}

// "正月", "闰四月": the month's name without its size.
std::string MonthName(int month)
{
    std::string name = LunarMonthName(month, 0);
    return name.size() > 2 ? name.substr(0, name.size() - 2) : name;
}

std::string Seconds(double s) { return Format(s < 600 ? "%.1f" : "%.0f", s); }

// "8.8 秒", "6 小时 59 分".
std::string DistanceText(double s)
{
    if (s < 600) return Seconds(s) + " 秒";
    int minutes = int(s / 60);
    if (minutes < 60) return std::to_string(minutes) + " 分";
    return std::to_string(minutes / 60) + " 小时 " + std::to_string(minutes % 60) + " 分";
}

std::string CalendarText(const CalendarSpan* span)
{
    if (!span) return "";
    return std::string(span->calendar) + "（行用于" + span->inForce + "年）";
}


// The day a day list moved a modern moment from, or nullopt.
std::optional<int32_t> MovedFrom(const SkySource& s)
{
    if (s.rule != NewMoonRule::MovedByList) return std::nullopt;
    return int32_t(std::floor(s.computed));
}

// The certainty line of a modern moment.
std::string CertaintyLine(const MomentCertainty& c)
{
    std::string line = "　　距子夜 " + DistanceText(c.fromMidnight);
    if (c.fromThreshold >= 0) line += "，距进朔限 " + DistanceText(c.fromThreshold);
    line += "；误差限 " + Format("%.0f", c.margin) + " 秒（60 秒加 Delta T 不确定度的两倍）：";
    return line + (c.uncertain ? "不确定，各家历表可能差一日" : "可以确定");
}

// What decided the first day, in a sentence.
std::string StartSentence(const LunarMonthSource& m)
{
    if (m.cycle) {
        std::string calendar = m.cycleSpan ? m.cycleSpan->calendar : "";
        std::string constant = m.cycleSpan ? std::string("，朔策 ") + m.cycleSpan->constant + " 日" : "";
        return "岁首由" + calendar + "的章法（" + std::to_string(m.cycle->years) + " 年 " +
               std::to_string(m.cycle->months) + " 月）推得：平朔在 " + ChineseMoment(m.cycleMoment) + constant;
    }
    const SkySource& s = m.start;
    if (s.method == SkyMethod::MeanMotion)
        return CalendarText(s.span) + "的平朔，在 " + ChineseMoment(s.moment) +
               (s.span ? std::string("，朔策 ") + s.span->constant + " 日" : "");
    std::string text = s.span ? CalendarText(s.span) + "定朔：" : "";
    text += "现代天文计算的朔在 " + ChineseMoment(s.computed);
    if (s.threshold > 0)
        text += "，合朔在日中的 " + Format("%.4f", s.computed - std::floor(s.computed)) + "，进朔限 " +
                Format("%.4f", float(s.threshold));
    switch (s.rule) {
    case NewMoonRule::Advanced: text += "；过进朔限，初一进至次日"; break;
    case NewMoonRule::MovedByList:
        text += "；历史日差表把初一由 " + ChineseDate(*MovedFrom(s)) + " 移至 " +
                ChineseDate(int32_t(std::floor(s.moment)));
        break;
    case NewMoonRule::Exempt: text += "；此日在免改表内，不进朔也不按日差表移动"; break;
    case NewMoonRule::AsComputed:
        if (s.threshold > 0) text += "；未过进朔限";
        break;
    }
    return text;
}

std::string TermSentence(const LunarMonthSource& m)
{
    const SkySource& t = m.term;
    std::string name = t.termNumber >= 1 && t.termNumber <= 24 ? SolarTermNames[t.termNumber] : "";
    std::string where = m.holdsPrincipalTerm ? "在本月内" : "已在下月，本月无中气";
    std::string how;
    if (t.method == SkyMethod::MeanMotion)
        how = CalendarText(t.span) + "的平气，岁实 " + (t.span ? t.span->constant : "") + " 日";
    else if (t.method == SkyMethod::QingModel)
        how = CalendarText(t.span) + "的太阳理论";
    else
        how = "现代天文计算";
    std::string when = ChineseMoment(t.moment);
    if (t.rule == NewMoonRule::MovedByList)
        when = ChineseDate(int32_t(std::floor(t.moment))) + "（计算在 " + ChineseMoment(t.computed) + "，历史日差表移至此日）";
    return (m.holdsPrincipalTerm ? "中气：" : "下一个中气：") + name + "，" + when + "，" + where + "（" + how + "）";
}

std::string LeapSentence(const LunarMonthSource& m)
{
    bool leap = m.month > 12;
    if (leap && !m.holdsPrincipalTerm)
        return m.yearByCycle ? "本年依章法为闰年，本月是第一个无中气的月，故为闰月。"
                             : "本年冬至到冬至有十三个月，本月是第一个无中气的月，故为闰月。";
    if (leap)
        return m.yearByCycle ? "本年依章法为闰年，而十三个月都有中气，故以末月为闰十二月。"
                             : "本年有十三个月，各月都有中气，以末月为闰月。";
    if (m.holdsPrincipalTerm) return "";
    if (m.yearLeapMonth == 0)
        return m.yearByCycle ? "本月无中气，但依章法本年不置闰。" : "本月无中气，但本年冬至到冬至只有十二个月，不置闰。";
    return "本月无中气，但本年的闰月已是" + MonthName(m.yearLeapMonth + 12) + "。";
}

int Days(const LunarMonthSource& m) { return m.nextFirstDay - m.firstDay; }

std::vector<std::string> MonthBlock(const LunarMonthSource& m)
{
    std::vector<std::string> lines;
    lines.push_back("本月：" + TrimBlanks(ChineseYearText(m.lunarYear)) + "年" + LunarMonthName(m.month, Days(m) == 30) +
                    "，" + ChineseDate(m.firstDay) + "至" + ChineseDate(m.nextFirstDay - 1) + "，共 " +
                    std::to_string(Days(m)) + " 天");
    lines.push_back("月首：" + StartSentence(m));
    if (m.startCertainty) lines.push_back(CertaintyLine(*m.startCertainty));
    lines.push_back(TermSentence(m));
    if (m.termCertainty) lines.push_back(CertaintyLine(*m.termCertainty));
    std::string leap = LeapSentence(m);
    if (!leap.empty()) lines.push_back(leap);
    return lines;
}

std::string SettingName(int flag) { return flag == 1 ? "按现代天文方法" : "按历代实行的历法"; }

bool SameMonth(const LunarMonthSource& a, const LunarMonthSource& b)
{
    return a.firstDay == b.firstDay && a.nextFirstDay == b.nextFirstDay && a.month == b.month &&
           a.lunarYear == b.lunarYear;
}

// Runs `explain` under the other setting, then restores the current one
// (each change drops the lunar years built so far).
template <typename Explain>
auto UnderOtherSetting(Explain explain)
{
    int flag = ModernCalculateAncientFlag;
    SetModernCalculateAncientFlag(1 - flag);
    auto result = explain();
    SetModernCalculateAncientFlag(flag);
    return result;
}

const char* StartMethodKey(const LunarMonthSource& m)
{
    if (m.cycle) return "cycle";
    if (m.start.method == SkyMethod::MeanMotion) return "mean";
    if (m.start.threshold > 0) return "late-new-moon-rule";
    return m.start.span ? "day-list" : "modern";
}

const char* RuleKey(const SkySource& s)
{
    switch (s.rule) {
    case NewMoonRule::Advanced: return "advanced";
    case NewMoonRule::MovedByList: return s.moment > s.computed ? "list+1" : "list-1";
    case NewMoonRule::Exempt: return "exempt";
    default: return "";
    }
}

std::string TermMethodKey(const SkySource& t)
{
    if (t.method == SkyMethod::MeanMotion) return "mean";
    if (t.method == SkyMethod::QingModel) return "qing" + std::to_string(t.qingModel);
    return "modern";
}

void AddCertainty(std::vector<std::string>& f, const std::optional<MomentCertainty>& c)
{
    f.push_back(c ? Seconds(c->fromMidnight) : "");
    f.push_back(c && c->fromThreshold >= 0 ? Seconds(c->fromThreshold) : "");
    f.push_back(c ? Format("%.0f", c->margin) : "");
    f.push_back(c ? (c->uncertain ? "uncertain" : "certain") : "");
}

std::string Join(const std::vector<std::string>& fields)
{
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? "\t" : "") + fields[i];
    return line;
}

}  // namespace

std::string MonthSourceTsv(const LunarMonthSource& m)
{
    std::vector<std::string> f;
    f.push_back(ModernCalculateAncientFlag == 1 ? "modern" : "historical");
    f.push_back(std::to_string(m.lunarYear));
    f.push_back(std::to_string(m.month));
    f.push_back(MonthName(m.month));
    f.push_back(IsoDate(m.firstDay));
    f.push_back(std::to_string(Days(m)));
    // The first day.
    const CalendarSpan* span = m.cycle ? m.cycleSpan : m.start.span;
    f.push_back(StartMethodKey(m));
    f.push_back(m.cycle ? "" : RuleKey(m.start));
    f.push_back(span ? span->calendar : "");
    f.push_back(span ? span->inForce : "");
    f.push_back(m.cycle || m.start.method == SkyMethod::MeanMotion ? (span ? span->constant : "")
                : m.start.threshold > 0 ? Format("%.4f", float(m.start.threshold)) : "");
    f.push_back(IsoMoment(m.cycle ? m.cycleMoment : m.start.computed));
    auto from = m.cycle ? std::nullopt : MovedFrom(m.start);
    f.push_back(from ? IsoDate(*from) : "");
    AddCertainty(f, m.startCertainty);
    // The principal term.
    const SkySource& t = m.term;
    f.push_back(t.termNumber >= 1 && t.termNumber <= 24 ? SolarTermNames[t.termNumber] : "");
    f.push_back(IsoDate(int32_t(std::floor(t.moment))));
    f.push_back(m.holdsPrincipalTerm ? "1" : "0");
    f.push_back(TermMethodKey(t));
    f.push_back(t.span ? t.span->calendar : "");
    f.push_back(t.span ? t.span->inForce : "");
    f.push_back(t.method == SkyMethod::MeanMotion && t.span ? t.span->constant : "");
    f.push_back(IsoMoment(t.method == SkyMethod::Modern ? t.computed : t.moment));
    f.push_back(t.rule == NewMoonRule::MovedByList ? IsoDate(int32_t(std::floor(t.computed))) : "");
    AddCertainty(f, m.termCertainty);
    f.push_back(m.month > 12 ? "leap" : "");
    return Join(f);
}

std::vector<std::string> WhyDayLines(int32_t day, bool tsv)
{
    auto here = ExplainLunarMonth(day);
    if (!here) return {};
    // The other setting's month and its lines, told while that setting holds.
    struct Other {
        std::optional<LunarMonthSource> month;
        std::vector<std::string> lines;
    };
    Other other = UnderOtherSetting([&] {
        Other o{ExplainLunarMonth(day), {}};
        if (!o.month || SameMonth(*here, *o.month)) return o;
        if (tsv) {
            o.lines.push_back(MonthSourceTsv(*o.month));
            return o;
        }
        o.lines.push_back(SettingName(ModernCalculateAncientFlag) + "：这一天是农历" +
                          TrimBlanks(ChineseYearText(o.month->lunarYear)) + "年" + MonthName(o.month->month) +
                          LunarDayName(day - o.month->firstDay + 1));
        for (const std::string& line : MonthBlock(*o.month)) o.lines.push_back(line);
        return o;
    });
    bool differ = !other.lines.empty();
    std::vector<std::string> lines;
    if (tsv) {
        lines.push_back(MonthSourceTsv(*here));
    } else {
        lines.push_back(ChineseDate(day) + "：农历" + TrimBlanks(ChineseYearText(here->lunarYear)) + "年" +
                        MonthName(here->month) + LunarDayName(day - here->firstDay + 1));
        if (differ) lines.push_back(SettingName(ModernCalculateAncientFlag) + "：");
        for (const std::string& line : MonthBlock(*here)) lines.push_back(line);
        if (other.month && !differ)
            lines.push_back("（" + SettingName(1 - ModernCalculateAncientFlag) + "，本月相同。）");
    }
    lines.insert(lines.end(), other.lines.begin(), other.lines.end());
    return lines;
}

std::vector<std::string> WhyYearLines(int32_t y, bool tsv)
{
    auto months = MonthsOfLunarYear(y);
    if (!months || y < FirstConversionYear || y > LastConversionYear) return {};
    std::vector<std::string> lines;
    if (!tsv) {
        std::string heading = "农历" + TrimBlanks(ChineseYearText(y)) + "年，共 " + std::to_string(months->count) +
                              " 个月，" + SettingName(ModernCalculateAncientFlag) + "：";
        lines.push_back(heading);
    }
    for (int i = 0; i < months->count; ++i) {
        auto m = ExplainLunarMonth(months->firstDays[i]);
        if (!m) continue;
        if (tsv) {
            lines.push_back(MonthSourceTsv(*m));
            continue;
        }
        std::string name = LunarMonthName(m->month, Days(*m) == 30);
        std::string line = name + (m->month > 12 ? "" : "  ") + " " + ChineseDate(m->firstDay) + "  " + StartSentence(*m);
        if (m->startCertainty && m->startCertainty->uncertain) line += "（不确定）";
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> UncertainLines(int32_t firstYear, int32_t lastYear)
{
    std::vector<std::string> lines;
    auto add = [&](int32_t day, const std::string& event, const MomentCertainty& c) {
        double distance = c.fromThreshold >= 0 ? std::min(c.fromMidnight, c.fromThreshold) : c.fromMidnight;
        lines.push_back(Join({IsoDate(day), event, IsoMoment(c.moment), Seconds(distance), Format("%.0f", c.margin)}));
    };
    for (int32_t y = firstYear - 1; y <= lastYear; ++y) {
        auto months = MonthsOfLunarYear(y);
        if (!months) continue;
        for (int i = 0; i < months->count; ++i) {
            auto date = DayNumberToDate(months->firstDays[i]);
            if (!date || date->year < firstYear || date->year > lastYear) continue;
            auto m = ExplainLunarMonth(months->firstDays[i]);
            if (!m) continue;
            if (m->startCertainty && m->startCertainty->uncertain)
                add(m->firstDay, MonthName(m->month) + "初一", *m->startCertainty);
            if (m->termCertainty && m->termCertainty->uncertain && m->holdsPrincipalTerm)
                add(int32_t(std::floor(m->term.moment)), SolarTermNames[m->term.termNumber], *m->termCertainty);
        }
    }
    return lines;
}
