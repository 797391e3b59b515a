// The full configuration: Chinese texts in GBK, fonts in the GB2312 character set.
#include "base/configuration.h"

#include "base/uiText.h"

const uint32_t kConfigCodePage = 936;
const uint8_t kConfigCharSet = 134;  // GB2312_CHARSET

bool configurationLeadByte(uint8_t byte) { return byte >= 0x81 && byte <= 0xFE; }

const char* const kConfigUiTexts[] = {
#include "variants/full/uiTextFull.inc"
};
static_assert(sizeof kConfigUiTexts / sizeof kConfigUiTexts[0] == static_cast<int>(UiText::Count),
              "one text per slot");
