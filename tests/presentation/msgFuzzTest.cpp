// Random and mutated message texts through every step of the message window: nothing may read or
// write outside its buffers (the native build runs this under the address sanitizer) or loop.
#include <cstring>
#include <random>
#include <string>

#include "base/settings.h"
#include "fakeGlyphs.h"
#include "presentation/msgBox.h"
#include "presentation/msgDisplay.h"
#include "presentation/msgTiming.h"
#include "testing.h"

namespace {
std::string randomText(std::mt19937& rng, size_t maxLength) {
    static const char kAlphabet[] = "@/><|()[]{}\\:ab \x82\x88\xa1\x81";
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<int> pick(0, 3);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<size_t> letter(0, sizeof kAlphabet - 2);
    std::string s(length(rng), 'x');
    for (char& c : s) c = pick(rng) == 0 ? static_cast<char>(byte(rng)) : kAlphabet[letter(rng)];
    return s;
}
}  // namespace

TEST(MsgFuzz, RandomTextsTypeInBothLayouts) {
    std::mt19937 rng(20261210);
    cFakeGlyphs glyphs;
    setMsgGlyphs(&glyphs);
    setDefaultSettings();
    {
        cMsgBox box;
        box.CreateFonts();
        ASSERT_TRUE(box.boxImage.Create(4, 120, 50));  // smaller than the name plate and the area
        std::memset(box.boxImage.pixels, 0xFF, 120 * 50 * 4);
        std::uniform_int_distribution<int> target(-1, 300);
        for (int round = 0; round < 3000; ++round) {
            const bool novel = round % 3 == 0;
            MsgWindowMode = novel ? 1 : 0;
            UserSettings.font = static_cast<uint8_t>(round % 4);
            UserSettings.textShadow = static_cast<uint8_t>(round % 2);
            if (novel && round % 9 == 0) {
                box.textCanvas.Create(4, 800, 600);
                box.Clear();
            }
            std::string text = randomText(rng, 200);
            std::string name = round % 5 ? randomText(rng, 12) : std::string();
            box.SetText(text.c_str());
            vstring plain;
            box.GetPlainText(plain);
            EXPECT_LE(plain.size(), text.size() + 1);
            ASSERT_TRUE(box.SetSpeaker(name.c_str(), novel));
            // Typing always ends: each call consumes codes until the target, and the codes are
            // finite.
            int calls = 0;
            while (box.DrawUpTo(target(rng)) && calls < 100000) ++calls;
            while (box.DrawUpTo(-1)) ++calls;
            ASSERT_LT(calls, 100000);
            EXPECT_TRUE(box.codes.empty());
            glyphs.drawn.clear();
        }
    }
    setMsgGlyphs(nullptr);
    MsgWindowMode = 0;
    gMsgTextArea = kWindowTextArea;
}

TEST(MsgFuzz, RandomBlocksSplitIntoNameAndMessage) {
    std::mt19937 rng(7);
    static char name[kSpeakerNameSize];
    for (int round = 0; round < 2000; ++round) {
        std::string text = randomText(rng, round % 10 == 0 ? 9000 : 300);
        const char* message = splitSpeaker(text.c_str(), name);
        ASSERT_LT(std::strlen(name), kSpeakerNameSize);
        ASSERT_GE(message, text.c_str());
        ASSERT_LE(message, text.c_str() + text.size());
        if (text.find(':') == std::string::npos) {
            EXPECT_EQ(text.c_str(), message);
        }
    }
}
