// The lead-byte test of double-byte characters in the system's code page, with a seam for tests.
#pragma once
#include <cstdint>

// True when the byte begins a double-byte character.
bool isLeadByte(uint8_t byte);

// Replaces the test (nullptr restores the configuration's own code page: GBK in the full
// configuration, Shift-JIS in the earlier one). The program installs the system's test at start-up.
using LeadByteTest = bool (*)(uint8_t byte);
void setLeadByteTest(LeadByteTest test);
