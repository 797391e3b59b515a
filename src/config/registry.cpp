#include "config/registry.h"

namespace mSystemParam {
bool loadConfig() { return false; }
}  // namespace mSystemParam
