// Variables and flags of the scripts, and the two global variable files.
#pragma once

void initFlags(const char* unusedFileName);
