// The system's alphabetic test (Wine), installed as the program installs it: ASCII letters name
// registers, digits and punctuation do not.
#include "base/moduleState.h"
#include "scenario/anime/animeProgram.h"
#include "testing.h"

namespace {

TEST(AnimePlatform, SystemAlphabeticTestNamesRegisters) {
    resetEngineState();
    installSystemCharAlpha();
    AnimeOperand op;
    parseAnimeOperand(op, "Q");
    EXPECT_EQ(1, op.isRegister);
    EXPECT_EQ(16, op.value);
    for (const char* word : {"7", "_", "-", " "}) {
        parseAnimeOperand(op, word);
        EXPECT_EQ(0, op.isRegister) << word;
    }
    for (uint8_t c = 'a'; c <= 'z'; ++c) EXPECT_TRUE(isAnimeAlpha(c)) << c;
    for (uint8_t c = 'A'; c <= 'Z'; ++c) EXPECT_TRUE(isAnimeAlpha(c)) << c;
    setCharAlphaTest(nullptr);
}

}  // namespace
