#include "scenario/commandCallees.h"

namespace {

// Wiring, not state: the installed table stays across the engine reset.
const CommandCallees* gInstalled = nullptr;
// What a command sees with none installed; executeCommand runs none then.
const CommandCallees kNone = {};

}  // namespace

const CommandCallees& commandCallees() { return gInstalled ? *gInstalled : kNone; }

bool commandCalleesInstalled() { return gInstalled != nullptr; }

void setCommandCallees(const CommandCallees* callees) { gInstalled = callees; }
