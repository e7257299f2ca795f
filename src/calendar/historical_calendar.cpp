#include "historical_calendar.h"
