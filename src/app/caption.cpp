#include "app/caption.h"

#include <cstdio>

#include "base/uiText.h"

namespace {
constexpr uint8_t kMsgModeSystem = 3;
}

vstring buildCaption(const CaptionParts& parts) {
    vstring caption(parts.title ? parts.title : "");
    if (parts.showChapter && parts.chapterName && *parts.chapterName) {
        caption += uiText(UiText::CaptionChapterOpen);
        caption += parts.chapterName;
        caption += uiText(UiText::CaptionChapterClose);
    }
    if (parts.showPlayTime && parts.msgWindowMode != kMsgModeSystem) {
        char time[64];
        std::snprintf(time, sizeof time, uiText(UiText::CaptionPlayTime),
                      static_cast<int>(parts.playMinutes / 60),
                      static_cast<int>(parts.playMinutes % 60));
        caption += time;
    }
    return caption;
}
