// The timed click over scripted input and a test clock, its sounds and drawing recorded: the gate,
// the hit circle, the time-out, the hand's turns and the flash's opacity per frame, the arrow that
// puts the cursor on the clock, skip mode across it.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/input.h"
#include "base/moduleState.h"
#include "base/settings.h"
#include "graphics/image.h"
#include "graphics/screen.h"
#include "presentation/spots.h"
#include "presentation/timedClick.h"
#include "scenario/variableStore.h"
#include "spotFixtures.h"
#include "testing.h"

namespace {
struct Frame {
    uint32_t elapsed;
    double turns, scale;
    int32_t dstX, dstY, srcX, srcY;
    uint8_t mode;
    int flashX, flashY, opacity;
    uint8_t readMode;
};
struct Recorder {
    std::vector<std::string> sounds;  // played, in order; "stop" for a stop
    std::vector<std::pair<int32_t, RgbColour>> flashes;
    std::vector<Frame> frames;
    uint32_t elapsed = 0;  // of the poll being run
};
Recorder* gRec = nullptr;

// Polls at given times (milliseconds after the start); the time of the last one holds after it.
struct Player {
    std::vector<uint32_t> times;
    std::map<int, uint8_t> commands;
    std::map<int, MousePoint> moves;
    int polls = 0;
    int quitAt = 0;
};
Player* gPlayer = nullptr;
uint32_t gStart = 100000;
uint32_t gNow = 0;

bool scriptedPoll(uint8_t, bool) {
    const int poll = ++gPlayer->polls;
    if (gPlayer->quitAt && poll >= gPlayer->quitAt) return false;
    const size_t i = static_cast<size_t>(poll - 1);
    const uint32_t t = gPlayer->times.empty() ? 0 : gPlayer->times[std::min(i, gPlayer->times.size() - 1)];
    gNow = gStart + t;
    gRec->elapsed = t;
    auto m = gPlayer->moves.find(poll);
    if (m != gPlayer->moves.end()) gMousePos = m->second;
    auto c = gPlayer->commands.find(poll);
    if (c != gPlayer->commands.end()) setCommand(c->second);
    // A loop that never ends fails instead of hanging.
    return poll < 1000;
}
const InputBackend kBackend = {scriptedPoll, nullptr, nullptr, nullptr, nullptr};

bool recordSound(const char* name) {
    gRec->sounds.push_back(name);
    return true;
}
void recordStop() { gRec->sounds.push_back("stop"); }
bool recordFlash(int32_t count, RgbColour colour) {
    gRec->flashes.push_back({count, colour});
    return true;
}
bool recordRotated(cImage&, const cImage&, int32_t dstX, int32_t dstY, int32_t srcX, int32_t srcY,
                   double turns, double scale) {
    Frame f = {};
    f.elapsed = gRec->elapsed;
    f.turns = turns;
    f.scale = scale;
    f.dstX = dstX;
    f.dstY = dstY;
    f.srcX = srcX;
    f.srcY = srcY;
    f.readMode = gReadMode;
    gRec->frames.push_back(f);
    return true;
}
bool recordBlend(cImage&, const cImage&, uint8_t mode, int x, int y, int opacity) {
    if (gRec->frames.empty()) return true;
    Frame& f = gRec->frames.back();
    f.mode = mode;
    f.flashX = x;
    f.flashY = y;
    f.opacity = opacity;
    return true;
}

class TimedClickTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        spotTest::install();
        gRec = &rec;
        gPlayer = &player;
        gStart = 100000;
        gNow = gStart;
        setClockSource([] { return gNow; });
        setInputBackend(&kBackend);
        TimedClickCallees& c = timedClickCallees();
        c.playSE = recordSound;
        c.stopSE = recordStop;
        c.flashScreen = recordFlash;
        c.bltRotated = recordRotated;
        c.bltBlend = recordBlend;
        setVariableName(VariableKind::Local, 0, "hit");
        setVariableName(VariableKind::Local, 1, "gate");
        setVariable("gate", 1);
        spotTest::makeBackBuffer();
        gMousePos = {0, 0};
    }
    void TearDown() override {
        restoreTimedClickCallees();
        setInputBackend(nullptr);
        setClockSource(nullptr);
        spotTest::uninstall();
        gBackBuffer.Release();
        resetEngineState();
    }
    // The clock starts at gStart for every run.
    bool run() {
        gNow = gStart;
        return runTimedChoice("hit", "gate");
    }

    Recorder rec;
    Player player;
};
}  // namespace

TEST_F(TimedClickTest, TheGateClosedOrTheResultSetReturnsAtOnceSilently) {
    const struct {
        int32_t gate, result;
    } cases[] = {{0, 0}, {1, 1}, {0, 1}, {5, -1}};
    for (const auto& c : cases) {
        rec = Recorder();
        player = Player();
        setVariable("gate", c.gate);
        setVariable("hit", c.result);
        EXPECT_TRUE(run());
        EXPECT_EQ(0, player.polls);
        EXPECT_TRUE(rec.sounds.empty());
        EXPECT_EQ(c.result, getVariable("hit"));
    }
    // Names that are no variables read as 0: the gate is closed.
    rec = Recorder();
    EXPECT_TRUE(runTimedChoice("", "nothing"));
    EXPECT_EQ(0, player.polls);
    EXPECT_TRUE(rec.sounds.empty());
}

TEST_F(TimedClickTest, AClickWithinTheCircleHitsOneOnItsEdgeDoesNot) {
    const struct {
        int32_t dx, dy;
        bool hit;
    } cases[] = {{54, 0, true}, {55, 0, false}, {0, -54, true}, {0, 55, false},
                 {38, 38, true}, {39, 39, false}, {-30, 46, true}, {0, 0, true}};
    for (const auto& c : cases) {
        rec = Recorder();
        player = Player();
        setVariable("hit", 0);
        player.times = {0, 100, 200, 4001};
        player.moves[2] = {715 + c.dx, 505 + c.dy};
        player.commands[2] = kCmdClick;
        EXPECT_TRUE(run());
        EXPECT_EQ(c.hit ? 1 : 0, getVariable("hit")) << c.dx << "," << c.dy;
        if (c.hit) {
            EXPECT_EQ(2, player.polls);
            EXPECT_EQ((std::vector<std::string>{"se_020.ogg", "se_017.ogg"}), rec.sounds);
            ASSERT_EQ(1u, rec.flashes.size());
            EXPECT_EQ(2, rec.flashes[0].first);
            EXPECT_EQ(255, rec.flashes[0].second.red);
            EXPECT_EQ(255, rec.flashes[0].second.green);
            EXPECT_EQ(255, rec.flashes[0].second.blue);
        } else {
            // The click is only consumed; the clock runs out.
            EXPECT_EQ(4, player.polls);
            EXPECT_EQ((std::vector<std::string>{"se_020.ogg", "stop"}), rec.sounds);
            EXPECT_TRUE(rec.flashes.empty());
        }
        EXPECT_EQ(kCmdNone, getCommand());
    }
}

TEST_F(TimedClickTest, OkAtTheCursorCountsLikeAClick) {
    player.times = {0, 50};
    player.moves[2] = {700, 500};
    player.commands[2] = kCmdOk;
    EXPECT_TRUE(run());
    EXPECT_EQ(1, getVariable("hit"));
}

TEST_F(TimedClickTest, NoInputForFourSecondsStopsTheStartSound) {
    player.times = {0, 1000, 3999, 4000, 4001, 5000};
    player.commands[2] = kCmdCancel;  // other commands are consumed and change nothing
    EXPECT_TRUE(run());
    EXPECT_EQ(0, getVariable("hit"));
    EXPECT_EQ(5, player.polls);
    EXPECT_EQ((std::vector<std::string>{"se_020.ogg", "stop"}), rec.sounds);
    // A frame at 4000 ms still, none after.
    ASSERT_EQ(4u, rec.frames.size());
    EXPECT_EQ(4000u, rec.frames.back().elapsed);
    EXPECT_EQ(kCmdNone, getCommand());
}

TEST_F(TimedClickTest, TheHandTurnsDownAndTheFlashFadesOut) {
    player.times = {0, 2000, 3000, 4000, 4001};
    EXPECT_TRUE(run());
    ASSERT_EQ(4u, rec.frames.size());
    const struct {
        double turns;
        int opacity;
    } want[] = {{1.0, 255}, {0.5, 127}, {0.25, 63}, {0.0, 0}};
    for (size_t i = 0; i < 4; ++i) {
        const Frame& f = rec.frames[i];
        EXPECT_DOUBLE_EQ(want[i].turns, f.turns) << i;
        EXPECT_EQ(want[i].opacity, f.opacity) << i;
        EXPECT_EQ(715, f.dstX);
        EXPECT_EQ(505, f.dstY);
        EXPECT_EQ(80, f.srcX);
        EXPECT_EQ(80, f.srcY);
        EXPECT_DOUBLE_EQ(1.0, f.scale);
        EXPECT_EQ(6, f.mode);  // Screen
        EXPECT_EQ(630, f.flashX);
        EXPECT_EQ(400, f.flashY);
    }
}

TEST_F(TimedClickTest, TheClockCountsAcrossAWrapOfTheMillisecondCounter) {
    gStart = 0xFFFFFF00u;
    gNow = gStart;
    player.times = {0, 2000, 4001};
    EXPECT_TRUE(run());
    ASSERT_EQ(2u, rec.frames.size());
    EXPECT_DOUBLE_EQ(0.5, rec.frames[1].turns);
}

TEST_F(TimedClickTest, AnArrowPutsTheCursorOnTheClockSoThatOkHits) {
    for (uint8_t arrow : {kCmdLeft, kCmdRight, kCmdUp, kCmdDown}) {
        rec = Recorder();
        player = Player();
        setVariable("hit", 0);
        spotTest::moves().clear();
        gMousePos = {10, 10};
        player.times = {0, 10, 20, 30};
        player.commands[2] = arrow;
        player.commands[3] = kCmdOk;
        EXPECT_TRUE(run());
        ASSERT_EQ(1u, spotTest::moves().size());
        EXPECT_EQ(715, spotTest::moves()[0].x);
        EXPECT_EQ(505, spotTest::moves()[0].y);
        EXPECT_EQ(1, getVariable("hit")) << int(arrow);
    }
}

TEST_F(TimedClickTest, QuitEndsItLikeTheTimeOut) {
    player.times = {0, 10};
    player.quitAt = 3;
    EXPECT_TRUE(run());
    EXPECT_EQ(0, getVariable("hit"));
    EXPECT_EQ((std::vector<std::string>{"se_020.ogg", "stop"}), rec.sounds);
}

TEST_F(TimedClickTest, SkipModeEndsDuringTheClockAndComesBackAfterIt) {
    const struct {
        bool skipping;
        uint8_t stopSwitch;
        bool hit;
        uint8_t after;
    } cases[] = {{true, 0, false, kReadSkip}, {true, 0, true, kReadSkip}, {true, 1, false, kReadNormal},
                 {true, 1, true, kReadNormal}, {false, 0, false, kReadNormal}};
    for (const auto& c : cases) {
        rec = Recorder();
        player = Player();
        setVariable("hit", 0);
        setDefaultSettings();
        UserSettings.endSkipAfterChoice = c.stopSwitch;
        gReadMode = c.skipping ? kReadSkip : kReadNormal;
        player.times = {0, 10, 4001};
        if (c.hit) {
            player.moves[2] = {715, 505};
            player.commands[2] = kCmdClick;
        }
        EXPECT_TRUE(run());
        ASSERT_FALSE(rec.frames.empty());
        EXPECT_EQ(kReadNormal, rec.frames[0].readMode);
        EXPECT_EQ(c.after, gReadMode) << c.skipping << int(c.stopSwitch) << c.hit;
    }
}
