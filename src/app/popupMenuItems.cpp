#include "app/popupMenuItems.h"

#include "base/commandId.h"
#include "base/uiText.h"

namespace {
struct ItemSlot {
    uint8_t id;
    UiText text;
};
constexpr ItemSlot kSeparator = {kCmdNone, UiText::Count};
const ItemSlot kItems[kPopupMenuItemCount] = {
    {kCmdQuickSave, UiText::MenuQuickSave},   kSeparator,
    {kCmdAutoMode, UiText::MenuAutoMode},     {kCmdSkipMode, UiText::MenuSkipMode},
    kSeparator,
    {kCmdHideWindow, UiText::MenuHideWindow}, {kCmdBacklog, UiText::MenuBacklog},
    kSeparator,
    {kCmdSaveScreen, UiText::MenuSave},       {kCmdLoadScreen, UiText::MenuLoad},
    {kCmdConfig, UiText::MenuConfig},         kSeparator,
    {kCmdFullScreen, UiText::MenuFullScreen}, {kCmdWindowed, UiText::MenuWindowed},
    kSeparator,
    {kCmdTitle, UiText::MenuTitle},           {kCmdExit, UiText::MenuExit},
};
}  // namespace

PopupMenuItem popupMenuItem(size_t i) {
    if (i >= kPopupMenuItemCount || kItems[i].id == kCmdNone) return {kCmdNone, nullptr};
    return {kItems[i].id, uiText(kItems[i].text)};
}
