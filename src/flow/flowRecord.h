// The flow record of the full configuration.
#pragma once

// Reads "checklist.txt" of folder "flow".
bool loadFlowChecklist();
