#include "seasonal_periods.h"
