// Random and mutated definitions through every section and the composition, with random clocks:
// nothing may crash, overflow or read out of bounds (the native build runs this under the address
// and undefined-behaviour sanitizers).
#include <random>
#include <string>

#include "animeTestSupport.h"
#include "base/displayMode.h"
#include "scenario/anime/composition.h"
#include "scenario/anime/pictureSlots.h"
#include "screenSizeGuard.h"
#include "testing.h"

namespace {

const char* const kWords[] = {
    "Type", "Name", "PosX", "PosY", "Base", "Face", "FaceX", "FaceY", "Img", "Mode", "Alpha",
    "Img3", "Mode9", "Alpha0", "Img-1", "Mode10", "Alpha4294967296", "actor", "back", "movie",
    "Normal", "Add", "Screen", "Softlight", "Div", "bogus", "50%", "300", "-4", "%",
    "99999999999%", "-99999999999", "2147483647", "-2147483648", "a.png", "b.png", "c.png",
    "dot.png", "x", "y", "z", "q", "", "ResetTimer", "#", ";", "=", ":", ".", "draw", "clip",
    "add", "sub", "mul", "div", "mod", "max", "min", "range", "move", "sin", "rain", "hotaru",
    "0", "1", "2", "9", "10", "-1", "\xC1", "\xFF",
};
constexpr size_t kWordCount = sizeof kWords / sizeof kWords[0];

std::string randomLine(std::mt19937& r) {
    auto word = [&r] { return std::string(kWords[r() % kWordCount]); };
    switch (r() % 6) {
    case 0:  // key line
        return word() + "=" + word() + (r() % 3 ? "" : " " + word());
    case 1:  // prefix key with a number
        return word() + std::to_string(int32_t(r()) % 20) + "=" + word();
    case 2: {  // command line
        std::string op = word();
        if (r() % 2) op += "." + word();
        std::string line = op + ":";
        for (unsigned n = r() % 5; n > 0; --n) line += " " + word();
        return line;
    }
    case 3:  // header
        return "#" + (r() % 2 ? " " + word() : "") + (r() % 2 ? " " + word() : "");
    case 4:
        return word();
    default: {  // random bytes
        std::string s;
        for (unsigned n = r() % 12; n > 0; --n) s += static_cast<char>(1 + r() % 255);
        return s;
    }
    }
}

class AnimeFuzz : public ::testing::Test {
protected:
    void SetUp() override {
        resetKeepingScreen();
        files.picture("a.png", 3, 5, 4, 1, 2, 3);
        files.picture("b.png", 4, 7, 3, 9, 8, 7, 100);
        files.picture("c.png", 1, 30, 2, 77);
        files.picture("dot.png", 3, 1, 1, 200, 200, 200);
    }
    void TearDown() override { resetEngineState(); }
    // Loads the text into a few slots, applies sections and composes at random times.
    void exercise(const std::string& text, std::mt19937& r) {
        files.definition("fuzz.img", text);
        for (int slot : {0, 4, 9}) {
            loadAnime(slot, "fuzz.img");
            for (int k = 0; k < 4; ++k) {
                applyAnimeSection(slot, int32_t(r()) % 5);
                TestClock::now() = r();
                MsgWindowMode = static_cast<uint8_t>(r() % 5);
                setAnimeX(slot, int32_t(r()) % 40 - 20);
                if (r() % 4 == 0) setAnimeY(slot, int32_t(r()));
                updateScreen();
                composeAllAnime();
            }
        }
    }
    ScreenSize screen{16, 12};
    ScreenCanvases canvases;
    AnimeDataFolder files;
    TestClock clock{0};
};

TEST_F(AnimeFuzz, RandomDefinitions) {
    std::mt19937 r(20240613);
    for (int round = 0; round < 400; ++round) {
        std::string text;
        for (unsigned n = 1 + r() % 20; n > 0; --n) text += randomLine(r) + (r() % 8 ? "\r\n" : "\r");
        exercise(text, r);
    }
}

TEST_F(AnimeFuzz, MutatedDefinitions) {
    const std::string base =
        "Type=movie\r\nBase=a.png\r\nImg0=dot.png\r\nImg1=b.png\r\nMode1=Screen\r\nAlpha1=50%\r\n"
        "x: 3\r\nmove.x: 1001 -2000\r\nsin.y: 60 5 250\r\nrange.x: 0 15\r\ndraw: 0 x y\r\n"
        "draw: 1 y x\r\n# 1\r\nType=back\r\nImg2=c.png\r\nMode2=Add\r\n#\r\nmul.q: x y\r\n"
        "div.q: q y\r\nmod.q: q x\r\nResetTimer\r\n";
    std::mt19937 r(77);
    for (int round = 0; round < 600; ++round) {
        std::string text = base;
        for (unsigned n = 1 + r() % 6; n > 0; --n) {
            const size_t at = r() % (text.size() + 1);
            switch (r() % 4) {
            case 0:
                if (at < text.size()) text[at] = static_cast<char>(r());
                break;
            case 1:
                text.insert(at, 1, static_cast<char>(r()));
                break;
            case 2:
                text.erase(at, r() % 8);
                break;
            default:
                text.insert(at, kWords[r() % kWordCount]);
                break;
            }
        }
        exercise(text, r);
    }
}

}  // namespace
