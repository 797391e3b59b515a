// The game data's configuration registry (folder "config").
#pragma once

namespace mSystemParam {
// Reads "config.txt" of folder "config" and the files it lists.
bool loadConfig();
}  // namespace mSystemParam
