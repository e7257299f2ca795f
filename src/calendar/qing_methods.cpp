#include "qing_methods.h"
