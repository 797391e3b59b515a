#include "graphics/text/leadByte.h"

#include "base/configuration.h"

namespace {
LeadByteTest gTest = nullptr;
}  // namespace

bool isLeadByte(uint8_t byte) { return gTest ? gTest(byte) : configurationLeadByte(byte); }

void setLeadByteTest(LeadByteTest test) { gTest = test; }
