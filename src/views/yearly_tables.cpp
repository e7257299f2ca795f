#include "yearly_tables.h"
