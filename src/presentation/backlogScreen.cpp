#include "presentation/backlog.h"

namespace mLogBox {
// not built yet
void RunScreen() {}
}  // namespace mLogBox
