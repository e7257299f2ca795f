#include "today_card.h"

#include "calendar_names.h"
#include "civil_calendar.h"
#include "date_text.h"
#include "places.h"
#include "solver.h"
#include "sun_events.h"
#include "time_scales.h"

std::vector<std::string> TodayCard(const LocalDateTime& now)
{
    int32_t today = DateToDayNumber(now.year, now.month, now.day);
    if (today == NoDayNumber) return {"岚舟万年历: 今天的日期超出范围"};
    int term = NextSolarTermIndex(today, 0);
    double termMoment = NextSolarTermMoment(today, 0, 0);
    const Place& place = CurrentPlace;
    auto sun = [&](int kind) {
        return SunEventTime(today, place.longitude, place.latitude, CalcZone, kind);
    };
    return {
        "岚舟万年历  今天 " + DayNumberToText(today) + "  儒略日 " + std::to_string(today),
        "下一节气 " + std::string(SolarTermNames[term]) + " " + MomentToText(termMoment),
        place.name + " " + CoordinateText(place.longitude, LongitudeCoordinate) + " " +
            CoordinateText(place.latitude, LatitudeCoordinate),
        "天亮 " + sun(Dawn) + "  日出 " + sun(Sunrise) + "  日落 " + sun(Sunset) + "  天黑 " +
            sun(Dusk),
    };
}
