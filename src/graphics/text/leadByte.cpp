#include "graphics/text/leadByte.h"

namespace {
// Lead bytes of the configuration's code page (936 or 932), for builds and tests that do not ask
// the system.
bool configurationLeadByte(uint8_t b) {
#ifdef MORVANE_EARLIER
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
#else
    return b >= 0x81 && b <= 0xFE;
#endif
}

LeadByteTest gTest = nullptr;
}  // namespace

bool isLeadByte(uint8_t byte) { return gTest ? gTest(byte) : configurationLeadByte(byte); }

void setLeadByteTest(LeadByteTest test) { gTest = test; }
