// Animation programs: the steps of a movie slot's definition, run over 26 shared integer registers
// (a to z) every time the scene is composed, so every value is a function of the time since the
// slot started.
#pragma once
#include <cstdint>

class cImage;

enum AnimeOpcode : uint8_t {
    kAnimeNone = 0,
    kAnimeSet = 1,
    kAnimeDraw = 2,
    kAnimeClip = 3,
    kAnimeAdd = 4,
    kAnimeSub = 5,
    kAnimeMul = 6,
    kAnimeDiv = 7,
    kAnimeMod = 8,
    kAnimeMax = 9,
    kAnimeMin = 10,
    kAnimeRange = 11,
    kAnimeMove = 12,
    kAnimeSin = 13,
    kAnimeRain = 14,
    kAnimeHotaru = 15,
};

// A number, or a register named by a letter (value: its index 0 to 25; any other index names no
// register).
struct AnimeOperand {
    uint8_t isRegister = 0;
    int32_t value = 0;
};

namespace mAnime {
class cAnimeLayer;

// One step: its operation, the register its result goes to (the letter as written; 0 when the
// step names none, which means register a) and its operands (d only for "clip").
class cAnimeCommand {
public:
    uint8_t opcode = kAnimeNone;
    uint8_t target = 0;
    AnimeOperand a, b, c, d;
};
}  // namespace mAnime

constexpr int kAnimeRegisterCount = 26;
constexpr int kAnimeLayerCount = 10;

// Fills a step from a command line of a definition: the operation name (the text before the ":")
// and the operand text after it. An operation it does not know gives a step that does nothing.
void parseAnimeCommand(mAnime::cAnimeCommand& step, const char* name, const char* operands);
// A word of one alphabetic character is a register; every other word is its decimal number.
void parseAnimeOperand(AnimeOperand& operand, const char* word);
// The number, or the register's value (0 for an index that names no register).
int32_t getAnimeOperand(const AnimeOperand& operand);
// Registers by letter in either case; a character that is no letter names none (false; reads 0).
bool setAnimeRegister(uint8_t letter, int32_t value);
int32_t getAnimeRegister(uint8_t letter);
void clearAnimeRegisters();

// Runs one step: t is the time since the slot's start in ms, (x, y) the slot's position, to which
// "draw" places layer pictures. Arithmetic wraps at 32 bits.
void runAnimeCommand(const mAnime::cAnimeCommand& step, cImage& frame,
                     const mAnime::cAnimeLayer layers[kAnimeLayerCount], double t, int32_t x,
                     int32_t y);

// What "move" (a units per second, b units per second squared) and "sin" (a cycles per minute,
// amplitude b, phase c thousandths of a cycle) add to their register at t: computed in 80-bit
// extended precision whatever precision the processor was set to, truncated toward zero,
// saturated to 64 bits, low 32 bits.
int32_t animeMoveDelta(int32_t a, int32_t b, double t);
int32_t animeSinDelta(int32_t a, int32_t b, int32_t c, double t);

// The system's alphabetic test of one byte in its code page, which decides whether an operand or
// an operation names a register. Null restores the default (ASCII letters); the program installs
// the system's own at start-up.
using CharAlphaTest = bool (*)(uint8_t byte);
void setCharAlphaTest(CharAlphaTest test);
bool isAnimeAlpha(uint8_t byte);
// Installs the system's test (the program's side; wine builds only).
void installSystemCharAlpha();
