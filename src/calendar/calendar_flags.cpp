#include "calendar_flags.h"

#include "lunar_year.h"

int ModernCalculateAncientFlag = 0;
int GanZhiFromChunjieFlag = 0;

void SetModernCalculateAncientFlag(int flag)
{
    if (flag == ModernCalculateAncientFlag) return;
    ModernCalculateAncientFlag = flag;
    EraseLunarYearCache();
}
