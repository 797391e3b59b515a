// The engine reset: every module's state back to what it is before the entry point. Each module
// keeps its state in one struct and registers the one function that resets it with a
// cModuleReset at namespace scope. The program itself never resets (its state starts fresh);
// tests reset between cases instead of clearing globals by hand. What a test installed (backends,
// hooks, the data and save folders) is wiring, not state, and stays.
#pragma once

using ModuleResetFn = void (*)();

class cModuleReset {
public:
    // order: the module's place in the construction order (0 for the base modules); resets run
    // in that order.
    cModuleReset(int order, ModuleResetFn reset);
};

void resetEngineState();
