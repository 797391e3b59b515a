// The commands "reset" and "custom" of the full configuration, which also reset the flow record.
#include "flow/flowRecord.h"
#include "scenario/commandCallees.h"
#include "scenario/commandTable.h"

void addConfigurationCallees(CommandCallees& callees) {
    callees.flowResetAll = flowResetAll;
    callees.flowResetRoute = flowResetRoute;
}

bool cmdReset() {
    const CommandCallees& c = commandCallees();
    c.flowResetAll();
    c.clearLocalVariables();
    return true;
}

// Without words the route just taken ends; otherwise the timed click.
bool cmdCustom() {
    const CommandCallees& c = commandCallees();
    if (!*commandWord(0) && !*commandWord(1)) c.flowResetRoute();
    else c.runTimedChoice(commandWord(0), commandWord(1));
    return true;
}
