// Message pumps, accelerator tables and the command latch.
#pragma once

// Dispatches all pending messages; false once WM_QUIT has been seen.
bool pumpMessages();
void createAccelerators();
void destroyAccelerators();
