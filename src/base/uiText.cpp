#include "base/uiText.h"

#include "base/configuration.h"

const char* uiText(UiText slot) {
    int i = static_cast<int>(slot);
    return i >= 0 && i < static_cast<int>(UiText::Count) ? kConfigUiTexts[i] : "";
}
