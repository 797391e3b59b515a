#include "presentation/backlog.h"

namespace mLogBox {
// not built yet
void Clear() {}
// not built yet
void MarkPosition() {}
// not built yet
void AddEntry(const char*, const char*) {}
// not built yet
void RunScreen() {}
// not built yet
void Serialize(cSaveStream&) {}
}  // namespace mLogBox
