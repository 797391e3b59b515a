// The backlog of the last 60 messages.
#pragma once

namespace mLogBox {
void Clear();
}  // namespace mLogBox
