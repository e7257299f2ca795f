#include "hijri_calendar.h"
