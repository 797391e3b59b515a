// Start-up and shutdown sequences of the program.
#pragma once
#include <windows.h>

// Brings every module up in order; false only when COM cannot be initialised.
bool initApplication(HINSTANCE instance);
void shutdownApplication();
