// The two settings that change what the Chinese calendar computes. They are
// loaded from the settings at start-up and toggled from the menu.
#pragma once

// 1: modern astronomy for every date; 0: the calendars actually in force
// (mean terms, mean months, the Qing methods) for the historical spans.
// Change it only through SetModernCalculateAncientFlag, which also drops the
// lunar years built under the other setting.
extern int ModernCalculateAncientFlag;
void SetModernCalculateAncientFlag(int flag);

// 1: the stem-branch year starts at the lunar New Year and months follow the
// lunar months; 0: the year starts at 立春 and months follow the solar terms.
extern int GanZhiFromChunjieFlag;
