// The backlog of the last 60 messages.
#pragma once

namespace mLogBox {
void Clear();
// The interpreter moved its save point: the backlog's mark follows the write position.
void MarkPosition();
}  // namespace mLogBox
