#include "scenario/variables.h"

void initFlags(const char*) {}
