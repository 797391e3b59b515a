// The items of the popup system menu, top to bottom: each a CommandId action with its text (label,
// tab, key hint), or a separator. A chosen item acts exactly like its key.
#pragma once
#include <cstddef>
#include <cstdint>

struct PopupMenuItem {
    uint8_t id;        // CommandId; 0 for a separator
    const char* text;  // in the configuration's text set; null for a separator
};

constexpr size_t kPopupMenuItemCount = 17;

// Item i (0 to kPopupMenuItemCount - 1).
PopupMenuItem popupMenuItem(size_t i);
