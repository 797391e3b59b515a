// The earlier configuration: Japanese texts in Shift-JIS, fonts in the Shift-JIS character set.
#include "base/configuration.h"

#include "base/uiText.h"

const uint32_t kConfigCodePage = 932;
const uint8_t kConfigCharSet = 128;  // SHIFTJIS_CHARSET

bool configurationLeadByte(uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

const char* const kConfigUiTexts[] = {
#include "variants/earlier/uiTextEarlier.inc"
};
static_assert(sizeof kConfigUiTexts / sizeof kConfigUiTexts[0] == static_cast<int>(UiText::Count),
              "one text per slot");
