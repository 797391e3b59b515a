// The memos of the two quick saves in slot 0: the boss key's (mode 2) in the configuration's own
// encoding, command 17's in Shift-JIS in both configurations.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <string>

#include "../scenario/scriptHost.h"
#include "app/popupMenu.h"
#include "base/commandId.h"
#include "base/input.h"
#include "base/settings.h"
#include "graphics/screen.h"
#include "presentation/msgDisplay.h"
#include "presentation/screens/saveSlots.h"
#include "testing.h"

namespace {
// "クイックセーブ"
const std::string kShiftJis = "\x83\x4e\x83\x43\x83\x62\x83\x4e\x83\x5a\x81\x5b\x83\x75";
const std::string kGbk = "\xa5\xaf\xa5\xa4\xa5\xc3\xa5\xaf\xa5\xbb\xa9\x60\xa5\xd6";
#ifdef MORVANE_EARLIER
const std::string& kConfigurationMemo = kShiftJis;
#else
const std::string& kConfigurationMemo = kGbk;
#endif

void bossKeyQuickSave() {
    UserSettings.bossKeyMode = kBossKeyQuickSaveExit;
    EXPECT_TRUE(bossKey());
}
void commandQuickSave() {
    setCommand(kCmdQuickSave);
    EXPECT_FALSE(handleSystemCommand(kInputReading));
    EXPECT_EQ(kCmdNone, getCommand());
}
}  // namespace

TEST(QuickSaveMemo, EachQuickSaveWritesItsOwnMemoBytes) {
    const struct {
        const char* what;
        void (*save)();
        const std::string& memo;
    } cases[] = {
        {"boss key", bossKeyQuickSave, kConfigurationMemo},
        {"command 17", commandQuickSave, kShiftJis},
    };
    for (const auto& c : cases) {
        ScriptHost host("quick-save-memo");
        ASSERT_TRUE(createScreenCanvases());
        c.save();
        SaveSlotHeader header;
        ASSERT_TRUE(readSaveHeader(0, header)) << c.what;
        // The memo's bytes, then zeros to the end of the field.
        const std::string memo(header.memo, sizeof header.memo);
        EXPECT_EQ(c.memo, memo.substr(0, c.memo.size())) << c.what;
        EXPECT_EQ(std::string::npos, memo.find_first_not_of('\0', c.memo.size())) << c.what;
    }
}
