// The platform side of input: the message queue, the key tables, mouse state and the joystick.
#pragma once
#include <windows.h>

#include <cstdint>

// Offers a message to the key tables of an input mode (the table of every mode first); a table
// that takes it sends WM_COMMAND with its id to the window. True when a table took it.
bool translateAccelerators(uint8_t inputMode, HWND window, MSG* message);

// The key tables (created at start-up, destroyed at shutdown); true when all five exist.
bool createAccelerators();
void destroyAccelerators();

// Makes the platform the input backend and the waiting loops' wait, and takes the frame interval
// from the display's refresh rate (the main window does this at its creation).
void installPlatformInput();
