// The main window's caption: the title, then optionally the chapter and the play time.
#pragma once
#include <cstdint>

#include "base/vstring.h"

struct CaptionParts {
    const char* title = "";        // the Title system string
    bool showChapter = false;      // caption-chapter setting
    const char* chapterName = "";  // the script state's chapter name
    bool showPlayTime = false;     // caption-play-time setting
    uint8_t msgWindowMode = 0;     // no play time in display mode system (3)
    uint32_t playMinutes = 0;
};

// Title, "　「chapter」" when asked for and the chapter is named, "　[h:mm]" when asked for and
// not in display mode system. Null texts count as empty.
vstring buildCaption(const CaptionParts& parts);

// Rebuilds the main window's caption from the system title, the settings, the chapter name and the
// play time, and sets it; nothing without a window or while the window is minimised (a caption
// set by the boss key's disguise stays). Defined by the main window.
void updateCaption();
