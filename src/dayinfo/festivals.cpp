#include "festivals.h"
