// The commands "reset" and "custom" of the earlier configuration, which has no flow record.
#include "scenario/commandCallees.h"
#include "scenario/commandTable.h"

void addConfigurationCallees(CommandCallees&) {}

bool cmdReset() {
    commandCallees().clearLocalVariables();
    return true;
}

// Always the timed click, also without words (its gate then reads as 0).
bool cmdCustom() {
    commandCallees().runTimedChoice(commandWord(0), commandWord(1));
    return true;
}
