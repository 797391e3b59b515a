#include "presentation/backlog.h"

namespace mLogBox {
void Clear() {}
void MarkPosition() {}
}  // namespace mLogBox
