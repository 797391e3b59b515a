// The earlier configuration saves the five shared sections only; a flow section of a save made by
// the full configuration is not looked at.
#include "presentation/screens/saveSections.h"

namespace {
const SaveSection kNone = {"", nullptr};
}

size_t configurationSaveSectionCount() { return 0; }
const SaveSection& configurationSaveSection(size_t) { return kNone; }
