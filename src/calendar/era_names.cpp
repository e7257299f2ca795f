#include "era_names.h"
