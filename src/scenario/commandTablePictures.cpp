// The commands of the picture slots and fades, and the movie.
#include <cstring>

#include "base/commandId.h"
#include "config/systemInfo.h"
#include "graphics/screen.h"
#include "scenario/commandCallees.h"
#include "scenario/commandTable.h"
#include "scenario/scriptLines.h"

namespace {

constexpr int32_t kDefaultFadeMs = 500;
constexpr int32_t kPositionStep = 133;  // x of "pos1"; "pos5" is 665

// A screen-size fraction, rounded toward zero.
int32_t screenPart(int32_t size, int32_t times, int32_t parts) {
    return static_cast<int32_t>(static_cast<int64_t>(size) * times / parts);
}

void setPosition(const CommandCallees& c, int32_t slot, int32_t x) {
    c.setAnimeX(slot, x);
    c.setAnimeY(slot, gScreenHeight);
}

// One word after the slot; false when a picture cannot be loaded.
bool applyImgWord(const CommandCallees& c, int32_t slot, const char* word, int& numbers) {
    if (isDigitLed(word)) {
        ++numbers;
        if (numbers == 1) {
            c.resetAnimeOrigin(slot);
            c.setAnimeX(slot, decimalValue(word));
        } else if (numbers == 2) {
            c.resetAnimeOrigin(slot);
            c.setAnimeY(slot, decimalValue(word));
        }
        return true;
    }
    if (startsWithNoCase(word, "pos") && isDigitLed(word + 3)) {
        const int32_t n = decimalValue(word + 3);
        if (n >= 1 && n <= 5) setPosition(c, slot, kPositionStep * n);
        return true;
    }
    if (equalsNoCase(word, "center")) {
        setPosition(c, slot, screenPart(gScreenWidth, 1, 2));
        return true;
    }
    if (equalsNoCase(word, "left")) {
        setPosition(c, slot, screenPart(gScreenWidth, 1, 4));
        return true;
    }
    if (equalsNoCase(word, "right")) {
        setPosition(c, slot, screenPart(gScreenWidth, 3, 4));
        return true;
    }
    // A picture name with an optional "#" and section number.
    const char* hash = std::strchr(word, '#');
    const vstring name = hash ? vstring(word, static_cast<size_t>(hash - word)) : vstring(word);
    const int32_t section = hash ? decimalValue(hash + 1) : 0;
    if (!name.empty() && !c.loadAnime(slot, name.c_str())) return false;
    if (section != 0) c.applyAnimeSection(slot, section);
    return true;
}

void zeroPixels(cCanvas& canvas) {
    if (canvas.HasPixels()) std::memset(canvas.pixels, 0, static_cast<size_t>(canvas.ByteCount()));
}

}  // namespace

bool cmdImg() {
    const CommandCallees& c = commandCallees();
    const int32_t slot = commandNumber(0);
    if (!*commandWord(1)) {
        if (!*commandWord(0)) c.clearAllAnime();
        else c.clearAnime(slot);
        return true;
    }
    int numbers = 0;
    for (int i = 1; *commandWord(i); ++i)
        if (!applyImgWord(c, slot, commandWord(i), numbers)) return false;
    return true;
}

bool cmdFade() {
    const int32_t ms = commandNumber(0);
    commandCallees().setFadeTime(ms > 0 ? ms : 0);
    return true;
}

bool cmdFadeIn() {
    const CommandCallees& c = commandCallees();
    int32_t ms = commandNumber(0);
    if (ms <= 0) ms = kDefaultFadeMs;
    c.setFadeTime(ms);
    c.waitClick(ms);
    return true;
}

bool cmdFadeOut() {
    const CommandCallees& c = commandCallees();
    c.clearAllAnime();
    int32_t ms;
    if (isDigitLed(commandWord(0))) {
        c.loadAnime(0, "black");
        ms = commandNumber(0);
    } else {
        c.loadAnime(0, commandWord(0));  // a colour, definition or picture; failing it is silent
        ms = commandNumber(1);
    }
    if (ms <= 0) ms = kDefaultFadeMs;
    c.setFadeTime(ms);
    c.waitClick(ms);
    return true;
}

bool cmdMovie() {
    const CommandCallees& c = commandCallees();
    c.clearAllAnime();
    c.setFadeTime(0);
    c.stopBGM(false);
    c.stopEnv(false);
    c.stopSE();
    zeroPixels(gBackBuffer);
    zeroPixels(gNextScreen);
    zeroPixels(gPrevScreen);
    if (!c.playMovie(commandWord(0))) {
        c.stopMovie();
        return true;
    }
    c.clearCommand();
    // Cancel is noticed within a second; the movie's end and quitting end the wait too.
    while (c.isMoviePlaying() && c.pollInput(kInputScreen, false)) {
        if (c.getCommand() == kCmdCancel) break;
        c.sleep(1000);
    }
    c.stopMovie();
    c.clearCommand();
    return true;
}
