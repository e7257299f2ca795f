#include "day_card.h"
