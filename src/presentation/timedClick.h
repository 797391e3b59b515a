// The timed click: four seconds to click the message window's clock.
#pragma once

// Runs when the gate variable is not 0 and the result variable is 0; a hit sets the result
// variable to 1. True.
bool runTimedChoice(const char* resultVariable, const char* gateVariable);
