// Interface texts in the configuration's text set (GBK in the full configuration, Shift-JIS in the
// earlier one). The tables are generated from src/base/uiTexts.txt by tools/texts/genUiText.py.
#pragma once

enum class UiText {
#define X(name) name,
#include "base/uiTextSlots.inc"
#undef X
    Count
};

// The NUL-terminated bytes of a slot.
const char* uiText(UiText slot);
