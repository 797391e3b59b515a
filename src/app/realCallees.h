// The real functions behind the script commands: the table that start-up installs for the command
// table (scenario/commandCallees.h), and the one place it is filled, so that tests take their real
// entries from it as the program does.
#pragma once
#include "scenario/commandCallees.h"

// The table of this configuration (its own entries added by addConfigurationCallees).
const CommandCallees& realCommandCallees();
