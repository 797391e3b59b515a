// The full configuration's sixth save section: the flow record.
#include "flow/flowRecord.h"
#include "presentation/screens/saveSections.h"

namespace {
const SaveSection kFlowSection = {"Data_Flow", serializeFlowData};
}

size_t configurationSaveSectionCount() { return 1; }
const SaveSection& configurationSaveSection(size_t) { return kFlowSection; }
