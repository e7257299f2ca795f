#include "lunar_year.h"
