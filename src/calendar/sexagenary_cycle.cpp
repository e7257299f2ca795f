#include "sexagenary_cycle.h"
