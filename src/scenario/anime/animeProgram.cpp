#include "scenario/anime/animeProgram.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>

#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "config/systemInfo.h"
#include "files/textBuf.h"
#include "graphics/blit.h"
#include "scenario/anime/animeData.h"

static_assert(LDBL_MANT_DIG == 64, "move and sin need the 80-bit extended format");

namespace {
// The registers a to z, shared by all slots.
struct AnimeRegisters {
    int32_t values[kAnimeRegisterCount] = {};
};
AnimeRegisters animeRegisters MODULE_OBJECT(kOrderPictureSlots);
const cModuleReset kReset(kOrderPictureSlots, [] { animeRegisters = AnimeRegisters(); });

CharAlphaTest gAlphaTest = nullptr;

constexpr int32_t kNoRegister = -1;

// 0 to 25 for a to z in either case, else kNoRegister.
int32_t letterIndex(uint8_t c) {
    if (c >= 'a' && c <= 'z') return c - 'a';
    if (c >= 'A' && c <= 'Z') return c - 'A';
    return kNoRegister;
}

bool equalsNoCase(const char* a, const char* b) { return vs_compare(a, b) == 0; }

struct OperationWord {
    const char* word;
    uint8_t opcode;
};
const OperationWord kOperations[] = {
    {"draw", kAnimeDraw}, {"clip", kAnimeClip},   {"add", kAnimeAdd},   {"sub", kAnimeSub},
    {"mul", kAnimeMul},   {"div", kAnimeDiv},     {"mod", kAnimeMod},   {"max", kAnimeMax},
    {"min", kAnimeMin},   {"range", kAnimeRange}, {"move", kAnimeMove}, {"sin", kAnimeSin},
    {"rain", kAnimeRain}, {"hotaru", kAnimeHotaru},
};

uint8_t opcodeOf(const char* word) {
    for (const OperationWord& op : kOperations)
        if (equalsNoCase(word, op.word)) return op.opcode;
    return kAnimeNone;
}

void numberOperand(AnimeOperand& operand, int32_t value) {
    operand.isRegister = 0;
    operand.value = value;
}

int32_t wrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t wrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
int32_t wrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// The x87 unit at 64-bit precision and round to nearest while it lives (the program's processor
// may run at 53 bits); the memory clobbers keep the guarded loads and stores inside.
class cExtendedPrecision {
public:
    cExtendedPrecision() {
        __asm__ volatile("fnstcw %0" : "=m"(m_saved) : : "memory");
        uint16_t wanted = static_cast<uint16_t>((m_saved & ~0x0F00u) | 0x0300u);
        __asm__ volatile("fldcw %0" : : "m"(wanted) : "memory");
    }
    ~cExtendedPrecision() { __asm__ volatile("fldcw %0" : : "m"(m_saved) : "memory"); }
    cExtendedPrecision(const cExtendedPrecision&) = delete;
    cExtendedPrecision& operator=(const cExtendedPrecision&) = delete;

private:
    uint16_t m_saved = 0;
};

// Toward zero into 64 bits, saturating; the low 32 bits.
int32_t low32OfTruncated(long double v) {
    int64_t whole;
    if (v != v) whole = 0;
    else if (v >= 9223372036854775808.0L) whole = INT64_MAX;
    else if (v <= -9223372036854775808.0L) whole = INT64_MIN;
    else whole = static_cast<int64_t>(v);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole)));
}

constexpr long double kMilli = 0.001L;
constexpr long double kPerMinute = 1.0L / 60000.0L;
constexpr double kPi = 3.14159265358979323846;
}  // namespace

void setCharAlphaTest(CharAlphaTest test) { gAlphaTest = test; }

bool isAnimeAlpha(uint8_t byte) { return gAlphaTest ? gAlphaTest(byte) : letterIndex(byte) >= 0; }

void parseAnimeOperand(AnimeOperand& operand, const char* word) {
    if (!word) word = "";
    if (word[0] && !word[1] && isAnimeAlpha(static_cast<uint8_t>(word[0]))) {
        operand.isRegister = 1;
        operand.value = letterIndex(static_cast<uint8_t>(word[0]));
        return;
    }
    numberOperand(operand, decimalValue(word));
}

int32_t getAnimeOperand(const AnimeOperand& operand) {
    if (!operand.isRegister) return operand.value;
    if (operand.value < 0 || operand.value >= kAnimeRegisterCount) return 0;
    return animeRegisters.values[operand.value];
}

bool setAnimeRegister(uint8_t letter, int32_t value) {
    const int32_t i = letterIndex(letter);
    if (i < 0) return false;
    animeRegisters.values[i] = value;
    return true;
}

int32_t getAnimeRegister(uint8_t letter) {
    const int32_t i = letterIndex(letter);
    return i < 0 ? 0 : animeRegisters.values[i];
}

void clearAnimeRegisters() { animeRegisters = AnimeRegisters(); }

void parseAnimeCommand(mAnime::cAnimeCommand& step, const char* name, const char* operands) {
    step = mAnime::cAnimeCommand();
    if (!name) name = "";
    cParams words;
    words.Parse(operands ? operands : "");
    // Words are counted from 1 in the program's terms.
    auto word = [&words](int i) { return words.Get(i - 1); };

    if (name[0] && !name[1] && isAnimeAlpha(static_cast<uint8_t>(name[0]))) {
        step.opcode = kAnimeSet;
        step.target = static_cast<uint8_t>(name[0]);
        parseAnimeOperand(step.a, word(1));
        return;
    }
    if (equalsNoCase(name, "draw")) {
        step.opcode = kAnimeDraw;
    } else if (equalsNoCase(name, "clip")) {
        step.opcode = kAnimeClip;
        if (!*word(1)) {
            numberOperand(step.c, gScreenWidth);
            numberOperand(step.d, gScreenHeight);
            return;
        }
        parseAnimeOperand(step.d, word(4));
    } else {
        const char* point = std::strchr(name, '.');
        const vstring operation =
            point ? vstring(name, static_cast<size_t>(point - name)) : vstring(name);
        if (point) step.target = static_cast<uint8_t>(point[1]);
        step.opcode = opcodeOf(operation.c_str());
    }
    parseAnimeOperand(step.a, word(1));
    parseAnimeOperand(step.b, word(2));
    parseAnimeOperand(step.c, word(3));
}

int32_t animeMoveDelta(int32_t a, int32_t b, double t) {
    cExtendedPrecision guard;
    volatile long double va = a, vb = b, vt = t;
    volatile long double sum = (va * vt + vb * kMilli * vt * vt * 0.5L) * kMilli;
    return low32OfTruncated(sum);
}

int32_t animeSinDelta(int32_t a, int32_t b, int32_t c, double t) {
    cExtendedPrecision guard;
    volatile long double va = a, vb = b, vc = c, vt = t;
    volatile double cycles = static_cast<double>(va * kPerMinute * vt);
    volatile double phase = static_cast<double>(static_cast<long double>(cycles) + vc * kMilli);
    volatile double angle =
        static_cast<double>(static_cast<long double>(phase) * static_cast<long double>(kPi) * 2.0L);
    volatile double sine = std::sin(static_cast<double>(angle));
    volatile long double product = static_cast<long double>(sine) * vb;
    return low32OfTruncated(product);
}

void runAnimeCommand(const mAnime::cAnimeCommand& step, cImage& frame,
                     const mAnime::cAnimeLayer layers[kAnimeLayerCount], double t, int32_t x,
                     int32_t y) {
    const uint8_t r = step.target ? step.target : 'a';
    const int32_t a = getAnimeOperand(step.a);
    const int32_t b = getAnimeOperand(step.b);
    switch (step.opcode) {
    case kAnimeSet:
        setAnimeRegister(r, a);
        break;
    case kAnimeDraw:
        if (a >= 0 && a < kAnimeLayerCount && layers) {
            const cSprite& image = layers[a].image;
            if (image.HasPixels())
                bltClipped(frame, image, int64_t(b) + x, int64_t(getAnimeOperand(step.c)) + y,
                           image.width, image.height, 0, 0);
        }
        break;
    case kAnimeAdd:
        setAnimeRegister(r, wrapAdd(a, b));
        break;
    case kAnimeSub:
        setAnimeRegister(r, wrapSub(a, b));
        break;
    case kAnimeMul:
        setAnimeRegister(r, wrapMul(a, b));
        break;
    case kAnimeDiv:
        if (b != 0) setAnimeRegister(r, (a == INT32_MIN && b == -1) ? INT32_MIN : a / b);
        break;
    case kAnimeMod:
        if (b != 0) setAnimeRegister(r, b == -1 ? 0 : a % b);
        break;
    case kAnimeMax: {
        const int32_t v = getAnimeRegister(r);
        setAnimeRegister(r, v < a ? v : a);
        break;
    }
    case kAnimeMin: {
        const int32_t v = getAnimeRegister(r);
        setAnimeRegister(r, v > a ? v : a);
        break;
    }
    case kAnimeRange: {
        const int32_t v = getAnimeRegister(r);
        const int32_t upper = v < b ? v : b;
        setAnimeRegister(r, a > upper ? a : upper);
        break;
    }
    case kAnimeMove:
        setAnimeRegister(r, wrapAdd(getAnimeRegister(r), animeMoveDelta(a, b, t)));
        break;
    case kAnimeSin:
        setAnimeRegister(r, wrapAdd(getAnimeRegister(r),
                                    animeSinDelta(a, b, getAnimeOperand(step.c), t)));
        break;
    default:  // clip, rain, hotaru and unknown steps are kept and do nothing
        break;
    }
}
