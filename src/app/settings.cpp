#include "settings.h"

int DFORMShowDynastyFlag = 0;
int DFORMShowInfoTypeFlag = 0;
