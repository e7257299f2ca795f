#include "condition_query.h"
