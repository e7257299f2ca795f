#include "weekday_zodiac.h"
