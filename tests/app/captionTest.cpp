#include "app/caption.h"

#include <string>

#include "testing.h"

namespace {
#ifdef MORVANE_EARLIER
const std::string kOpen = "\x81\x40\x81\x75";  // full-width space, opening corner bracket
const std::string kClose = "\x81\x76";
const std::string kSpace = "\x81\x40";
#else
const std::string kOpen = "\xA1\xA1\xA1\xB8";
const std::string kClose = "\xA1\xB9";
const std::string kSpace = "\xA1\xA1";
#endif

std::string caption(const CaptionParts& p) { return buildCaption(p).c_str(); }
}  // namespace

TEST(Caption, PiecesByFlagsChapterAndMode) {
    struct Case {
        bool chapter;
        const char* name;
        bool time;
        uint8_t mode;
        uint32_t minutes;
        std::string expected;
    };
    const Case cases[] = {
        {false, "Dawn", false, 0, 75, "Game"},
        {true, "Dawn", false, 0, 75, "Game" + kOpen + "Dawn" + kClose},
        {true, "", false, 0, 75, "Game"},  // an empty chapter name adds nothing
        {false, "Dawn", true, 0, 75, "Game" + kSpace + "[1:15]"},
        {true, "Dawn", true, 0, 0, "Game" + kOpen + "Dawn" + kClose + kSpace + "[0:00]"},
        {true, "Dawn", true, 3, 75, "Game" + kOpen + "Dawn" + kClose},  // no time in system mode
        {false, "", true, 4, 600 + 9, "Game" + kSpace + "[10:09]"},
        {false, "", true, 2, 59, "Game" + kSpace + "[0:59]"},
    };
    for (const Case& c : cases) {
        CaptionParts p;
        p.title = "Game";
        p.showChapter = c.chapter;
        p.chapterName = c.name;
        p.showPlayTime = c.time;
        p.msgWindowMode = c.mode;
        p.playMinutes = c.minutes;
        EXPECT_EQ(caption(p), c.expected) << c.name << " mode " << int(c.mode);
    }
}

TEST(Caption, EmptyAndNullTextsAndLargePlayTimes) {
    CaptionParts p;
    p.title = nullptr;
    p.chapterName = nullptr;
    p.showChapter = true;
    EXPECT_EQ(caption(p), "");
    p.title = "";
    p.showPlayTime = true;
    p.playMinutes = 0xFFFFFFFFu;  // 71582788:15, still formatted in full
    EXPECT_EQ(caption(p), kSpace + "[71582788:15]");
}
