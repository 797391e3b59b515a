// What the two build configurations do differently in code that both share: the code page, the
// fonts' character set and the interface texts. Each configuration has its own definition file
// (src/variants/full, src/variants/earlier); the build lists link the one of the build.
#pragma once
#include <cstdint>

// ANSI code page of the configuration's texts: 936 (GBK) or 932 (Shift-JIS).
extern const uint32_t kConfigCodePage;
// Character set of every font the program creates: 134 (GB2312) or 128 (Shift-JIS).
extern const uint8_t kConfigCharSet;
// Lead byte of a double-byte character in the configuration's code page.
bool configurationLeadByte(uint8_t byte);
// The interface texts in the configuration's encoding, one per UiText slot.
extern const char* const kConfigUiTexts[];
