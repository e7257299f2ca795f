// The settings loaded from whatever the registry holds: every setting is one
// the program could have written, and saving what was loaded and loading it
// again gives the same settings.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "calendar_flags.h"
#include "gbk_text.h"
#include "places.h"
#include "registry_input.h"
#include "settings.h"

namespace {

struct Loaded {
    int flags[11];
    std::string name;
    double longitude, latitude;
    int32_t city, left, top;
    std::string bitmap;
    bool operator==(const Loaded&) const = default;
};

Loaded Current()
{
    return {{UseRegistry, AutoRunFlag, WholeAutoReportTimeFlag, GanZhiFromChunjieFlag, CloseFORMAudioPlayFlag,
             ModernCalculateAncientFlag, NearLocateMemorialFlag, DFORMShowDynastyFlag, ShowCalendarTypeFlag,
             DFORMShowInfoTypeFlag == 2 ? 1 : 0, DFORMShowInfoTypeFlag == 1 ? 1 : 0},
            MyCity.name, MyCity.longitude, MyCity.latitude, CurrentPlace.cityCode, FormLeft, FormTop,
            DFORMBackBitmapName};
}

void CheckLoaded()
{
    Loaded now = Current();
    for (int flag : now.flags)
        if (flag != 0 && flag != 1) std::abort();
    if (DFORMShowInfoTypeFlag < 0 || DFORMShowInfoTypeFlag > 2) std::abort();
    if (now.name.size() > 12 || LeftBytes(now.name, 12) != now.name) std::abort();
    if (now.name.empty() ? now.longitude != 0 || now.latitude != 0
                         : !(now.longitude >= -180 && now.longitude <= 180 && now.latitude >= -90 && now.latitude <= 90))
        std::abort();
    if (now.city < 1 || now.city > CityCount() + 1 || (now.city == CityCount() + 1 && now.name.empty())) std::abort();
    if (now.left < -1 || now.left > 1920 || now.top < -1 || now.top > 1080) std::abort();
    if (!now.bitmap.empty() && !IsBackgroundBitmapPath(now.bitmap)) std::abort();
    if (FORMTransFlag != 0 || PlacementMode != "T" || MoveMode != "N") std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    UseOwnRegistryFile();
    SetProgramPaths("C:\\Lumora\\lumora.exe");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetRegistryFile(data, size);
    LoadSettings();
    CheckLoaded();
    if (UseRegistry != 1) return 0;
    Loaded first = Current();
    SaveSettings();
    LoadSettings();
    if (!(Current() == first)) std::abort();
    return 0;
}
