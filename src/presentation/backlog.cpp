#include "presentation/backlog.h"

namespace mLogBox {
void Clear() {}
}  // namespace mLogBox
