// The lines lumora-cli prints when started without a command: today's date
// and day number, the next solar term and today's sun times at the current
// place.
#pragma once
#include <string>
#include <vector>

#include "platform.h"

std::vector<std::string> TodayCard(const LocalDateTime& now);
