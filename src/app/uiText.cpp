#include "app/uiText.h"

namespace {
const char* const kTexts[] = {
#ifdef MORVANE_EARLIER
#include "app/uiTextEarlier.inc"
#else
#include "app/uiTextFull.inc"
#endif
};
static_assert(sizeof kTexts / sizeof kTexts[0] == static_cast<int>(UiText::Count),
              "one text per slot");
}  // namespace

const char* uiText(UiText slot) {
    int i = static_cast<int>(slot);
    return i >= 0 && i < static_cast<int>(UiText::Count) ? kTexts[i] : "";
}
