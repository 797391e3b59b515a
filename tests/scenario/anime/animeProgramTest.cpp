// Animation programs: parsing of command lines, every operation on the registers, the extended
// precision of "move" and "sin" whatever the processor's precision setting, and "draw".
#include <climits>
#include <cstring>
#include <vector>

#include "animeTestSupport.h"
#include "config/systemInfo.h"
#include "scenario/anime/animeData.h"
#include "scenario/anime/animeProgram.h"
#include "screenSizeGuard.h"
#include "testing.h"

namespace {

class AnimeProgram : public ::testing::Test {
protected:
    void SetUp() override { resetEngineState(); }
    void TearDown() override {
        setCharAlphaTest(nullptr);
        resetEngineState();
    }
};

// Runs the lines "name: operands" (one per element) at time t; registers cleared first.
void runProgram(const std::vector<const char*>& lines, double t, cImage* frame = nullptr,
                const mAnime::cAnimeLayer* layers = nullptr) {
    clearAnimeRegisters();
    cCanvas none;
    for (const char* line : lines) {
        const char* colon = std::strchr(line, ':');
        std::string name(line, colon - line);
        mAnime::cAnimeCommand step;
        parseAnimeCommand(step, name.c_str(), colon + 1);
        runAnimeCommand(step, frame ? *frame : none, layers, t, 0, 0);
    }
}

struct ProgramCase {
    std::vector<const char*> lines;
    double t;
    char reg;
    int32_t want;
};

TEST_F(AnimeProgram, RegistersAfterPrograms) {
    const ProgramCase cases[] = {
        {{"x: 10", "add.x: x 5"}, 0, 'x', 15},
        {{"X: 10", "add.x: X 5"}, 0, 'x', 15},  // either case names one register
        {{"y: 250", "max.y: 100"}, 0, 'y', 100},
        {{"y: 50", "max.y: 100"}, 0, 'y', 50},
        {{"y: -3", "min.y: 0"}, 0, 'y', 0},
        {{"y: 250", "range.y: 0 100"}, 0, 'y', 100},
        {{"y: 50", "range.y: 100 0"}, 0, 'y', 100},  // a wins when a > b
        {{"z: 4", "div.z: 7 0"}, 0, 'z', 4},
        {{"div.z: -7 2"}, 0, 'z', -3},
        {{"mod.z: -7 2"}, 0, 'z', -1},
        {{"z: 4", "mod.z: 7 0"}, 0, 'z', 4},
        {{"div.z: -2147483648 -1"}, 0, 'z', INT32_MIN},
        {{"z: 9", "mod.z: -2147483648 -1"}, 0, 'z', 0},
        {{"add.z: 2147483647 1"}, 0, 'z', INT32_MIN},
        {{"sub.z: -2147483648 1"}, 0, 'z', INT32_MAX},
        {{"mul.z: 65536 65536"}, 0, 'z', 0},
        {{"mul.z: -3 7"}, 0, 'z', -21},
        {{"add: 1 2"}, 0, 'a', 3},
        {{"add.: 1 2"}, 0, 'a', 3},
        {{"a: 5", "add.q: a a"}, 0, 'q', 10},
        {{"x: 12abc"}, 0, 'x', 12},
        {{"x: 7", "foo.x: 1 2"}, 0, 'x', 7},
        {{"x: 7", "clip: 1 2 3 4", "rain.x: 1 2 3", "hotaru.x: 1 2 3"}, 0, 'x', 7},
        {{"move.x: 100 0"}, 500, 'x', 49},
        {{"move.x: 100 0"}, 1000, 'x', 99},
        {{"move.x: 100 0"}, 1500, 'x', 150},
        {{"move.x: 100 0"}, 2000, 'x', 199},
        {{"move.x: 0 100"}, 1000, 'x', 49},
        {{"x: 5", "move.x: 100 0"}, 1500, 'x', 155},
        {{"move.x: -100 0"}, 1500, 'x', -150},
        {{"sin.y: 60 10 250"}, 0, 'y', 10},
        {{"sin.y: 60 10 250"}, 500, 'y', -10},
        {{"sin.y: 60 10 0"}, 250, 'y', 10},
        // Beyond 64 bits the value saturates before the low 32 bits are taken.
        {{"move.x: 2147483647 2147483647"}, 4294967295.0, 'x', -1},
        {{"move.x: -2147483647 -2147483647"}, 4294967295.0, 'x', 0},
        {{"x: 1", "move.x: 0 0"}, 4294967295.0, 'x', 1},
    };
    for (const ProgramCase& c : cases) {
        runProgram(c.lines, c.t);
        EXPECT_EQ(c.want, getAnimeRegister(static_cast<uint8_t>(c.reg)))
            << c.lines.back() << " at t " << c.t;
    }
}

uint16_t controlWord() {
    uint16_t cw;
    __asm__ volatile("fnstcw %0" : "=m"(cw));
    return cw;
}
void setControlWord(uint16_t cw) { __asm__ volatile("fldcw %0" : : "m"(cw)); }

// The values lie just below whole numbers in 80-bit precision; with the processor set to 53 bits
// (as under Wine) they would round up to them.
TEST_F(AnimeProgram, MoveAndSinKeepExtendedPrecisionAtAnyControlWord) {
    const uint16_t saved = controlWord();
    for (uint16_t cw : {uint16_t(0x037F), uint16_t(0x027F), uint16_t(0x007F), uint16_t(0x0F7F)}) {
        setControlWord(cw);
        EXPECT_EQ(99, animeMoveDelta(100, 0, 1000)) << std::hex << cw;
        EXPECT_EQ(49, animeMoveDelta(100, 0, 500)) << std::hex << cw;
        EXPECT_EQ(49, animeMoveDelta(0, 100, 1000)) << std::hex << cw;
        EXPECT_EQ(150, animeMoveDelta(100, 0, 1500)) << std::hex << cw;
        EXPECT_EQ(199, animeMoveDelta(100, 0, 2000)) << std::hex << cw;
        EXPECT_EQ(10, animeSinDelta(60, 10, 250, 0)) << std::hex << cw;
        EXPECT_EQ(-10, animeSinDelta(60, 10, 250, 500)) << std::hex << cw;
        EXPECT_EQ(cw, controlWord()) << "the caller's control word is put back";
        setControlWord(saved);
    }
}

TEST_F(AnimeProgram, ParseCases) {
    ScreenSize screen(800, 600);
    struct {
        const char* name;
        const char* operands;
        uint8_t opcode, target;
        AnimeOperand a, b, c, d;
    } cases[] = {
        {"add", " 1 2", kAnimeAdd, 0, {0, 1}, {0, 2}, {0, 0}, {0, 0}},
        {"add.", "1 2", kAnimeAdd, 0, {0, 1}, {0, 2}, {0, 0}, {0, 0}},
        {"ADD.X", "x y 3", kAnimeAdd, 'X', {1, 23}, {1, 24}, {0, 3}, {0, 0}},
        {"add.1", "1 2", kAnimeAdd, '1', {0, 1}, {0, 2}, {0, 0}, {0, 0}},
        {"draw", "q 5 6", kAnimeDraw, 0, {1, 16}, {0, 5}, {0, 6}, {0, 0}},
        {"draw.x", "1 2 3", kAnimeDraw, 'x', {0, 1}, {0, 2}, {0, 3}, {0, 0}},
        {"clip", "", kAnimeClip, 0, {0, 0}, {0, 0}, {0, 800}, {0, 600}},
        {"clip", "1 2 3 4", kAnimeClip, 0, {0, 1}, {0, 2}, {0, 3}, {0, 4}},
        {"Move.y", "-5 +7", kAnimeMove, 'y', {0, -5}, {0, 7}, {0, 0}, {0, 0}},
        {"x", "b", kAnimeSet, 'x', {1, 1}, {0, 0}, {0, 0}, {0, 0}},
        {"foo.x", "1 2", kAnimeNone, 'x', {0, 1}, {0, 2}, {0, 0}, {0, 0}},
        {"x.y", "1", kAnimeNone, 'y', {0, 1}, {0, 0}, {0, 0}, {0, 0}},
        {"1", "1", kAnimeNone, 0, {0, 1}, {0, 0}, {0, 0}, {0, 0}},
        {"", "", kAnimeNone, 0, {0, 0}, {0, 0}, {0, 0}, {0, 0}},
        {"sub.z", "ab 99999999999", kAnimeSub, 'z', {0, 0}, {0, INT32_MAX}, {0, 0}, {0, 0}},
    };
    for (const auto& k : cases) {
        mAnime::cAnimeCommand step;
        step.a.value = 77;  // the step starts empty
        parseAnimeCommand(step, k.name, k.operands);
        SCOPED_TRACE(std::string(k.name) + ":" + k.operands);
        EXPECT_EQ(k.opcode, step.opcode);
        EXPECT_EQ(k.target, step.target);
        const AnimeOperand* got[] = {&step.a, &step.b, &step.c, &step.d};
        const AnimeOperand* want[] = {&k.a, &k.b, &k.c, &k.d};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(want[i]->isRegister, got[i]->isRegister) << "operand " << i;
            EXPECT_EQ(want[i]->value, got[i]->value) << "operand " << i;
        }
    }
    // Operation names of any length.
    const std::string longName = std::string(5000, 'm') + ".x";
    mAnime::cAnimeCommand step;
    parseAnimeCommand(step, longName.c_str(), "1");
    EXPECT_EQ(kAnimeNone, step.opcode);
    EXPECT_EQ('x', step.target);
    parseAnimeCommand(step, (std::string("add.") + std::string(3000, 'q')).c_str(), "1 2");
    EXPECT_EQ(kAnimeAdd, step.opcode);
    EXPECT_EQ('q', step.target);
}

// A byte the system calls alphabetic that is no ASCII letter: a register operand that names no
// register (reads 0), and a target that stores nothing.
TEST_F(AnimeProgram, AlphabeticNonLetterNamesNoRegister) {
    setCharAlphaTest([](uint8_t b) { return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == 0xC1; });
    AnimeOperand op;
    parseAnimeOperand(op, "\xC1");
    EXPECT_EQ(1, op.isRegister);
    EXPECT_TRUE(op.value < 0 || op.value >= kAnimeRegisterCount);
    EXPECT_EQ(0, getAnimeOperand(op));
    EXPECT_FALSE(setAnimeRegister(0xC1, 5));
    EXPECT_EQ(0, getAnimeRegister(0xC1));

    runProgram({"a: 3", "b: \xC1", "\xC1: 9", "add.c: \xC1 a"}, 0);
    EXPECT_EQ(0, getAnimeRegister('b'));
    EXPECT_EQ(3, getAnimeRegister('c'));
    for (uint8_t r = 'a'; r <= 'z'; ++r) {
        if (r != 'a' && r != 'c') {
            EXPECT_EQ(0, getAnimeRegister(r)) << r;
        }
    }

    // Without the test it is a number (0).
    setCharAlphaTest(nullptr);
    parseAnimeOperand(op, "\xC1");
    EXPECT_EQ(0, op.isRegister);
    EXPECT_EQ(0, op.value);
}

TEST_F(AnimeProgram, RegistersByLetter) {
    EXPECT_TRUE(setAnimeRegister('Q', 4));
    EXPECT_EQ(4, getAnimeRegister('q'));
    EXPECT_FALSE(setAnimeRegister('@', 1));
    EXPECT_FALSE(setAnimeRegister('[', 1));
    EXPECT_FALSE(setAnimeRegister(0, 1));
    EXPECT_EQ(0, getAnimeRegister('{'));
    clearAnimeRegisters();
    EXPECT_EQ(0, getAnimeRegister('q'));
}

TEST_F(AnimeProgram, DrawPlacesALayerAtTheSlotPositionPlusItsOperands) {
    ScreenSize screen(16, 12);
    cCanvas frame;
    frame.Create(3, 16, 12);
    std::memset(frame.pixels, 0, 16 * 12 * 3);
    mAnime::cAnimeLayer layers[kAnimeLayerCount];
    fillSprite(layers[3].image, 3, 2, 2, 1, 2, 3);
    fillSprite(layers[4].image, 4, 2, 2, 9, 9, 9, 0);  // fully transparent
    clearAnimeRegisters();
    setAnimeRegister('q', 3);
    mAnime::cAnimeCommand step;
    parseAnimeCommand(step, "draw", "q 1 2");
    runAnimeCommand(step, frame, layers, 0, 5, 4);
    EXPECT_EQ((Bgr{1, 2, 3}), pixelAt(frame, 6, 6));
    EXPECT_EQ((Bgr{1, 2, 3}), pixelAt(frame, 7, 7));
    EXPECT_EQ((Bgr{0, 0, 0}), pixelAt(frame, 5, 6));
    EXPECT_EQ((Bgr{0, 0, 0}), pixelAt(frame, 8, 6));
    // Layers outside 0..9, without a picture or transparent draw nothing; placements are 64-bit
    // (in 32 bits the last one would wrap to (-2, -2) and cover pixel (0, 0)).
    fillSprite(layers[5].image, 3, 3, 3, 7, 7, 7);
    for (const char* operands : {"10 0 0", "-1 0 0", "0 0 0", "4 0 0", "5 2147483647 2147483647"}) {
        parseAnimeCommand(step, "draw", operands);
        runAnimeCommand(step, frame, layers, 0, 2147483647, 2147483647);
    }
    int lit = 0;
    for (int i = 0; i < 16 * 12 * 3; ++i) lit += frame.pixels[i] != 0;
    EXPECT_EQ(4 * 3, lit);
    parseAnimeCommand(step, "draw", "3 -2147483647 -2147483647");
    runAnimeCommand(step, frame, layers, 0, 2147483647, 2147483647);
    EXPECT_EQ((Bgr{1, 2, 3}), pixelAt(frame, 0, 0));
    EXPECT_EQ((Bgr{1, 2, 3}), pixelAt(frame, 1, 1));
}

}  // namespace
