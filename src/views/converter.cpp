#include "converter.h"
