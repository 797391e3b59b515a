// The backlog screen over scripted input, a test clock and recorded frames: the darkened scene, the
// bar, arrows, handle and rows where they belong, the row buttons enabled only with a voice and
// replaying it, the wheel, PageUp and PageDown, the arrows' clicks, the handle dragged to both ends,
// arrow keys among the rows and past the ends, and the ways out (cancel, quit).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../files/winTempFolder.h"
#include "../graphics/png/pngBuilder.h"
#include "base/clock.h"
#include "base/input.h"
#include "base/moduleState.h"
#include "base/present.h"
#include "base/settings.h"
#include "config/systemInfo.h"
#include "fakeGlyphs.h"
#include "files/archiveIndex.h"
#include "graphics/screen.h"
#include "presentation/backlog.h"
#include "presentation/backlogPage.h"
#include "presentation/backlogScreen.h"
#include "scenario/anime/pictureSlots.h"
#include "spotFixtures.h"
#include "testing.h"

using namespace spotTest;

namespace {
constexpr uint32_t kWmLButtonDown = 0x0201;
constexpr uint32_t kWmLButtonUp = 0x0202;
constexpr uint32_t kWmRButtonUp = 0x0205;
constexpr uint32_t kWmMouseWheel = 0x020A;

const Bgr kBarColour = {10, 200, 30};
const Bgr kHandleColour = {220, 20, 120};

// What happens at a poll (counted from 1).
struct Step {
    bool move = false;
    int32_t x = 0, y = 0;
    bool press = false, release = false;
    int held = -1;  // the left button's state from this poll on (-1: unchanged)
    int wheel = 0;  // notches, up positive
    bool rightClick = false;
    uint8_t command = kCmdNone;
};
struct Player {
    std::map<int, std::vector<Step>> steps;
    int polls = 0;
    int quitAt = 3000;  // a loop that never ends fails instead of hanging
    std::function<void(int poll)> onPoll;
};
Player* gPlayer = nullptr;
uint32_t gNow = 0;

bool scriptedPoll(uint8_t, bool) {
    gNow += 10;
    ++gPlayer->polls;
    if (gPlayer->polls >= gPlayer->quitAt) return false;
    auto it = gPlayer->steps.find(gPlayer->polls);
    if (it != gPlayer->steps.end()) {
        for (const Step& s : it->second) {
            if (s.move) gMousePos = {s.x, s.y};
            if (s.held >= 0) gMouseDown = static_cast<uint8_t>(s.held);
            if (s.press) mouseMessageToCommand(kWmLButtonDown, 0, 0);
            if (s.release) mouseMessageToCommand(kWmLButtonUp, 0, 0);
            if (s.rightClick) mouseMessageToCommand(kWmRButtonUp, 0, 0);
            if (s.wheel)
                mouseMessageToCommand(kWmMouseWheel,
                                      static_cast<uint64_t>(static_cast<uint16_t>(s.wheel * 120)) << 16, 0);
            if (s.command) setCommand(s.command);
        }
    }
    if (gPlayer->onPoll) gPlayer->onPoll(gPlayer->polls);
    return true;
}
const InputBackend kBackend = {scriptedPoll, nullptr, nullptr, nullptr, nullptr};

// Each presented frame: the handle's top (-1 when not seen in the bar) and, when asked, the pixels.
struct Frames {
    std::vector<int> handleTops;
    std::vector<std::vector<uint8_t>> kept;
    size_t keep = 0;  // the first frames kept whole
};
Frames* gFrames = nullptr;

void recordFrame() {
    int top = -1;
    for (int y = 0; y < gBackBuffer.height; ++y)
        if (backPixel(790, y) == kHandleColour) {
            top = y;
            break;
        }
    gFrames->handleTops.push_back(top);
    if (gFrames->kept.size() < gFrames->keep)
        gFrames->kept.emplace_back(gBackBuffer.pixels, gBackBuffer.pixels + gBackBuffer.ByteCount());
}

std::vector<std::string>* gVoices = nullptr;
bool recordVoice(const char* path) {
    gVoices->push_back(path);
    return true;
}

// An RGBA PNG of a 4-byte image.
std::vector<unsigned char> pngOf(const cSprite& image) {
    Bytes raw;
    for (int i = 0; i < image.width * image.height; ++i) {
        const uint8_t* p = image.pixels + static_cast<size_t>(i) * 4;
        raw.insert(raw.end(), {p[3], p[2], p[1], p[0]});
    }
    PngParts parts;
    parts.header = ihdr(static_cast<uint32_t>(image.width), static_cast<uint32_t>(image.height), 6);
    parts.stream = zlibCompress(filterRows(raw, image.width, image.height, 4, {0}));
    return buildPng(parts);
}

// The scene: a colour of its own at each pixel.
Bgr sceneAt(int x, int y) {
    return {static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(x ^ y)};
}
Bgr darkened(Bgr c) {
    return {static_cast<uint8_t>(c.b * 127 >> 8), static_cast<uint8_t>(c.g * 127 >> 8),
            static_cast<uint8_t>(c.r * 127 >> 8)};
}
Bgr framePixel(const std::vector<uint8_t>& frame, int x, int y) {
    const uint8_t* p = frame.data() + (static_cast<size_t>(y) * 800 + x) * 3;
    return {p[0], p[1], p[2]};
}

// Centre of row button k (1 the bottom row).
constexpr int32_t kRowX = 390;
int32_t rowY(int k) { return 75 * (8 - k) + 37; }

class BacklogScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        install();
        images()["sys_log_item.png"] = strip(780, 75, 3);
        images()["sys_log_icon_up.png"] = strip(20, 20, 3);
        images()["sys_log_icon_down.png"] = strip(20, 20, 3);
        gArchiveIndex.clear();
        ASSERT_TRUE(setDataFolder(folder.path().c_str()));
        TempFolder::makeFolder(folder / "img");
        ASSERT_TRUE(TempFolder::writeFile(folder / "img\\sys_log_bar.png",
                                          pngOf(plain(20, 600, kBarColour))));
        ASSERT_TRUE(TempFolder::writeFile(folder / "img\\sys_log_handle.png",
                                          pngOf(plain(20, 60, kHandleColour))));
        setButtonHandlers(mSpots::PressButtons, mSpots::ReleaseButtons);
        setTextGlyphs(&glyphs);
        gPlayer = &player;
        gNow = 5000;
        setClockSource([] { return gNow; });
        setInputBackend(&kBackend);
        gFrames = &frames;
        setPresentHooks(recordFrame, nullptr);
        gVoices = &voices;
        backlogCallees().playVoice = recordVoice;
        setDefaultSettings();
        gScreenWidth = 800;
        gScreenHeight = 600;
        ASSERT_TRUE(createScreenCanvases());
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                uint8_t* p = gNextScreen.pixels + (static_cast<size_t>(y) * 800 + x) * 3;
                const Bgr c = sceneAt(x, y);
                p[0] = c.b;
                p[1] = c.g;
                p[2] = c.r;
            }
        gAnimeDirty = 0;
        gMousePos = {-50, -50};
    }
    void TearDown() override {
        restoreBacklogCallees();
        setPresentHooks(nullptr, nullptr);
        setInputBackend(nullptr);
        setClockSource(nullptr);
        setTextGlyphs(nullptr);
        setButtonHandlers(nullptr, nullptr);
        uninstall();
        gBackBuffer.Release();
        gNextScreen.Release();
        gPrevScreen.Release();
        gArchiveIndex.clear();
        resetEngineState();
    }
    void at(int poll, Step s) { player.steps[poll].push_back(s); }
    void moveAt(int poll, int32_t x, int32_t y) {
        Step s;
        s.move = true;
        s.x = x;
        s.y = y;
        at(poll, s);
    }
    // Move, then press and release on the next two polls.
    void clickAt(int poll, int32_t x, int32_t y) {
        moveAt(poll, x, y);
        Step p;
        p.press = true;
        p.held = 1;
        at(poll + 1, p);
        Step r;
        r.release = true;
        r.held = 0;
        at(poll + 2, r);
    }
    void commandAt(int poll, uint8_t command) {
        Step s;
        s.command = command;
        at(poll, s);
    }
    void leaveAt(int poll) {
        Step s;
        s.rightClick = true;
        at(poll, s);
    }
    static void messages(int from, int to, const char* voice = nullptr) {
        for (int i = from; i <= to; ++i) {
            if (voice) mLogBox::SetPendingVoice(voice);
            mLogBox::AddEntry(("N" + std::to_string(i)).c_str(), ("m" + std::to_string(i)).c_str());
        }
    }
    // The handle tops of the frames, each position once in the order first seen.
    std::vector<int> handleMoves() const {
        std::vector<int> out;
        for (int top : frames.handleTops)
            if (top >= 0 && (out.empty() || out.back() != top)) out.push_back(top);
        return out;
    }
    // The texts of the rows' first lines in the glyphs drawn since the last clear.
    std::string rowText(int r) const {
        std::string text;
        for (const auto& d : glyphs.drawn)
            if (d.y == 75 * r + 10 && d.x >= 200) text += static_cast<char>(d.code);
        return text;
    }
    void expectCleanedUp() {
        EXPECT_EQ(0u, gScreenSpots.count);
        EXPECT_EQ(0, gScreenSpotsActive);
    }

    TempFolder folder;
    Player player;
    Frames frames;
    std::vector<std::string> voices;
    cFakeGlyphs glyphs;
};
}  // namespace

TEST_F(BacklogScreenTest, TheSceneDarkensAndThePageShowsTheNewestAtTheBottom) {
    messages(1, 1);
    messages(2, 2, "vo\\two.ogg");
    messages(3, 3);
    frames.keep = 2;
    std::vector<std::string> table;
    player.onPoll = [&](int poll) {
        if (poll != 2) return;
        for (uint32_t i = 0; i < gScreenSpots.count; ++i) {
            const auto& s = gScreenSpots.spots[i];
            table.push_back(std::to_string(s.id) + "@" + std::to_string(s.x) + "," +
                            std::to_string(s.y) + (s.disabled ? " off" : "") +
                            (s.marked ? " marked" : "") + " " + s.image.Name().c_str());
        }
    };
    leaveAt(3);
    mLogBox::RunScreen();
    EXPECT_EQ(3, player.polls);
    const std::vector<std::string> want = {
        "1@0,525 off sys_log_item.png",         "2@0,450 sys_log_item.png",
        "3@0,375 off sys_log_item.png",         "4@0,300 off sys_log_item.png",
        "5@0,225 off sys_log_item.png",         "6@0,150 off sys_log_item.png",
        "7@0,75 off sys_log_item.png",          "8@0,0 off sys_log_item.png",
        "100@780,0 marked sys_log_icon_up.png", "101@780,580 marked sys_log_icon_down.png"};
    EXPECT_EQ(want, table);
    expectCleanedUp();

    // The first frame: the scene alone at 127/256 of its brightness.
    ASSERT_EQ(2u, frames.kept.size());
    const std::vector<uint8_t>& dark = frames.kept[0];
    bool allDark = true;
    for (int y = 0; y < 600 && allDark; ++y)
        for (int x = 0; x < 800 && allDark; ++x)
            if (!(framePixel(dark, x, y) == darkened(sceneAt(x, y)))) allDark = false;
    EXPECT_TRUE(allDark);

    // Then the bar, the arrows, the handle at the bottom, the rows (disabled ones too, in frame 0)
    // and the glyphs of the page over them.
    const std::vector<uint8_t>& page = frames.kept[1];
    EXPECT_EQ(kBarColour, framePixel(page, 790, 300));
    EXPECT_EQ(frameColour(0), framePixel(page, 790, 5));
    EXPECT_EQ(frameColour(0), framePixel(page, 790, 590));
    EXPECT_EQ(kHandleColour, framePixel(page, 790, 520));
    EXPECT_EQ(kHandleColour, framePixel(page, 790, 579));
    EXPECT_EQ(kBarColour, framePixel(page, 790, 519));
    EXPECT_EQ(frameColour(0), framePixel(page, 5, 5));
    EXPECT_EQ(frameColour(0), framePixel(page, 5, 560));
    // The fake rasteriser marks each glyph's top-left corner in white: "N3" ends at x 180, "m3"
    // starts at 200, in the bottom row.
    const Bgr white = {255, 255, 255};
    EXPECT_EQ(white, framePixel(page, 180 - 18, 535));
    EXPECT_EQ(white, framePixel(page, 200, 535));
    EXPECT_EQ(white, framePixel(page, 200, 385));  // "m1", the oldest, two rows up
    EXPECT_EQ(frameColour(0), framePixel(page, 200, 310));
    EXPECT_EQ((std::vector<int>{520}), handleMoves());
}

TEST_F(BacklogScreenTest, TheWheelPageUpPageDownAndTheArrowsMoveOneMessage) {
    messages(1, 61);
    Step wheelUp;
    wheelUp.wheel = 1;
    Step wheelDown;
    wheelDown.wheel = -1;
    at(3, wheelUp);                 // 1
    commandAt(5, kCmdPageUp);       // 2
    commandAt(7, kCmdPageUp);       // 3
    at(9, wheelDown);               // 2
    clickAt(11, 790, 10);           // 3 (the older arrow)
    clickAt(15, 790, 590);          // 2
    commandAt(19, kCmdPageDown);    // 1
    commandAt(21, kCmdPageDown);    // 0
    commandAt(23, kCmdPageDown);    // stays 0
    for (int i = 0; i < 60; ++i) commandAt(25 + 2 * i, kCmdPageUp);  // to 49 and no further
    player.onPoll = [&](int poll) {
        if (poll == 146) glyphs.drawn.clear();  // the last page pass
    };
    commandAt(145, kCmdPageUp);
    leaveAt(147);
    mLogBox::RunScreen();
    EXPECT_EQ(147, player.polls);
    std::vector<int> want;
    for (int s : {0, 1, 2, 3, 2, 3, 2, 1, 0}) want.push_back(mLogBox::handleY(s));
    for (int s = 1; s <= 49; ++s) want.push_back(mLogBox::handleY(s));
    EXPECT_EQ(want, handleMoves());
    // The oldest page: the entries 57 to 50 steps back, top to bottom.
    for (int r = 0; r < 8; ++r) EXPECT_EQ("m" + std::to_string(5 + r), rowText(r)) << r;
    expectCleanedUp();
}

TEST_F(BacklogScreenTest, TheHandleDraggedToTheTopShowsTheOldestPageAndToTheBottomTheNewest) {
    messages(1, 61);
    // A press on the bar is a click of nothing; while held, the handle follows the cursor.
    moveAt(3, 790, 300);
    Step press;
    press.press = true;
    press.held = 1;
    at(4, press);
    moveAt(6, 790, 20);
    moveAt(10, 790, 579);
    moveAt(12, 790, 0);    // onto the older arrow: not the bar
    moveAt(14, 779, 100);  // beside the bar
    Step release;
    release.release = true;
    release.held = 0;
    at(16, release);
    moveAt(17, 790, 60);  // no button held: nothing
    leaveAt(19);
    mLogBox::RunScreen();
    std::vector<int> want;
    for (int s : {0, 25, 49, 0}) want.push_back(mLogBox::handleY(s));
    EXPECT_EQ(want, handleMoves());
    expectCleanedUp();
}

TEST_F(BacklogScreenTest, TheOldestPageAfterADragToTheTop) {
    messages(1, 61);
    moveAt(3, 790, 20);
    Step hold;
    hold.held = 1;
    at(3, hold);
    Step letGo;
    letGo.held = 0;
    at(5, letGo);
    player.onPoll = [&](int poll) {
        if (poll == 5) glyphs.drawn.clear();  // the last page pass, after the button is let go
    };
    leaveAt(7);
    mLogBox::RunScreen();
    for (int r = 0; r < 8; ++r) EXPECT_EQ("m" + std::to_string(5 + r), rowText(r)) << r;
    EXPECT_EQ(20, frames.handleTops.back());
}

TEST_F(BacklogScreenTest, RowButtonsReplayTheVoiceOfTheirEntryOnlyWhenItHasOne) {
    messages(1, 1, "vo\\one.ogg");
    messages(2, 2);
    messages(3, 3, "vo\\three.ogg");
    std::vector<std::vector<int>> enabled;
    player.onPoll = [&](int poll) {
        if (poll < 2) return;  // after the first page pass
        std::vector<int> on;
        for (uint32_t i = 0; i < gScreenSpots.count; ++i)
            if (!gScreenSpots.spots[i].disabled)
                on.push_back(static_cast<int>(gScreenSpots.spots[i].id));
        if (enabled.empty() || enabled.back() != on) enabled.push_back(on);
    };
    clickAt(2, kRowX, rowY(1));    // "m3"
    clickAt(5, kRowX, rowY(2));    // "m2": disabled, nothing
    clickAt(8, kRowX, rowY(3));    // "m1"
    commandAt(11, kCmdPageUp);     // one older: "m3" goes below the page
    clickAt(13, kRowX, rowY(2));   // "m1" now
    moveAt(16, kRowX, rowY(2));
    commandAt(17, kCmdOk);         // OK from the keyboard over a row: the same
    moveAt(19, 790, 300);
    commandAt(20, kCmdOk);         // over the bar: nothing
    moveAt(22, kRowX, rowY(1));
    commandAt(23, kCmdOk);         // "m2": nothing
    leaveAt(25);
    mLogBox::RunScreen();
    EXPECT_EQ((std::vector<std::string>{"vo\\three.ogg", "vo\\one.ogg", "vo\\one.ogg", "vo\\one.ogg"}),
              voices);
    EXPECT_EQ((std::vector<std::vector<int>>{{1, 3, 100, 101}, {2, 100, 101}}), enabled);
    EXPECT_EQ(25, player.polls);
}

TEST_F(BacklogScreenTest, ArrowKeysMoveAmongTheVoicedRowsAndPageAtTheEnds) {
    messages(1, 20, "vo\\v.ogg");
    moveAt(2, kRowX, rowY(1));
    commandAt(3, kCmdUp);     // to row 2
    commandAt(5, kCmdDown);   // back to row 1
    commandAt(7, kCmdDown);   // onto the newer arrow's side: page down (stays 0)
    moveAt(9, kRowX, rowY(8));
    commandAt(10, kCmdUp);    // past the top: page up
    commandAt(12, kCmdUp);    // and again
    commandAt(14, kCmdRight); // beside, only the arrows (marked): nothing
    commandAt(16, kCmdLeft);  // nothing on that side: the nearest row, the one under the cursor
    leaveAt(18);
    mLogBox::RunScreen();
    ASSERT_EQ(3u, moves().size());
    EXPECT_EQ(rowY(2), moves()[0].y);
    EXPECT_EQ(rowY(1), moves()[1].y);
    EXPECT_EQ(rowY(8), moves()[2].y);
    EXPECT_EQ(kRowX, moves()[2].x);
    std::vector<int> want;
    for (int s : {0, 1, 2}) want.push_back(mLogBox::handleY(s));
    EXPECT_EQ(want, handleMoves());
}

TEST_F(BacklogScreenTest, CancelAndTheRightOrMiddleButtonLeave) {
    for (uint8_t command : {static_cast<uint8_t>(kCmdCancel), static_cast<uint8_t>(kRawMiddleButton),
                            static_cast<uint8_t>(kRawRightButton)}) {
        player = Player();
        commandAt(3, command);
        mLogBox::RunScreen();
        EXPECT_EQ(3, player.polls) << int(command);
        EXPECT_EQ(kCmdCancel, getCommand());  // for the caller to consume
        expectCleanedUp();
        clearCommand();
    }
    EXPECT_TRUE(voices.empty());
}

TEST_F(BacklogScreenTest, QuitEndsTheScreen) {
    messages(1, 3);
    for (int quitAt : {1, 2, 5}) {
        gQuitReceived = 0;
        player = Player();
        player.quitAt = quitAt;
        mLogBox::RunScreen();
        EXPECT_EQ(quitAt, player.polls);
        EXPECT_TRUE(gQuitReceived);
        expectCleanedUp();
    }
}

TEST_F(BacklogScreenTest, MissingImagesLeaveTheirPartsUndrawn) {
    images().clear();
    TempFolder empty;
    ASSERT_TRUE(setDataFolder(empty.path().c_str()));
    messages(1, 2);
    frames.keep = 2;
    leaveAt(3);
    mLogBox::RunScreen();
    ASSERT_EQ(2u, frames.kept.size());
    EXPECT_EQ(darkened(sceneAt(790, 300)), framePixel(frames.kept[1], 790, 300));
    EXPECT_EQ(darkened(sceneAt(5, 5)), framePixel(frames.kept[1], 5, 5));
    EXPECT_EQ((Bgr{255, 255, 255}), framePixel(frames.kept[1], 200, 535));
    expectCleanedUp();
}
