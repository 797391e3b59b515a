#include "base/moduleState.h"

#include <algorithm>

namespace {
// Filled while the static objects are built, so storage that needs no construction of its own.
struct Registration {
    int order;
    ModuleResetFn reset;
};
constexpr int kMaxModules = 64;
Registration gRegistrations[kMaxModules];
int gRegistered = 0;
}  // namespace

cModuleReset::cModuleReset(int order, ModuleResetFn reset) {
    if (reset && gRegistered < kMaxModules) gRegistrations[gRegistered++] = {order, reset};
}

void resetEngineState() {
    std::stable_sort(gRegistrations, gRegistrations + gRegistered,
                     [](const Registration& a, const Registration& b) { return a.order < b.order; });
    for (int i = 0; i < gRegistered; ++i) gRegistrations[i].reset();
}
