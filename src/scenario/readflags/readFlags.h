// Read-text tracking and its log "complete.log".
#pragma once

namespace mReadFlags {
bool load();
bool save();
}  // namespace mReadFlags
