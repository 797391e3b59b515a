// Message markup: an input is a layout byte, a speaker name (ended by a NUL) and a message text.
// The text becomes codes and plain text, and is typed out whole in the window or the novel layout
// through a glyph source of fixed advances, stopping at the typing targets the input chooses.
#include <cstring>
#include <string>

#include "base/settings.h"
#include "fakeGlyphs.h"
#include "graphics/text/leadByte.h"
#include "presentation/msgBox.h"
#include "presentation/msgCode.h"
#include "presentation/msgDisplay.h"
#include "presentation/msgTiming.h"
#include "fuzzInput.h"

namespace {
bool shiftJisLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool gbkLead(uint8_t b) { return b >= 0x81 && b <= 0xFE; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t layout = input.Byte();
    const uint8_t targetStep = input.Byte();
    const std::string block = input.Text();
    const std::string text(reinterpret_cast<const char*>(input.Rest()), input.Left());
    const bool novel = layout & 1;
    setLeadByteTest(layout & 2 ? shiftJisLead : gbkLead);
    setDefaultSettings();
    UserSettings.font = static_cast<uint8_t>((layout >> 2) & 3);
    UserSettings.textShadow = (layout >> 4) & 1;
    UserSettings.speakerColours = (layout >> 5) & 1;
    MsgWindowMode = novel ? 1 : 0;

    // The speaker's name as the display driver splits it from a block.
    static char name[kSpeakerNameSize];
    const char* rest = splitSpeaker(block.c_str(), name);
    FUZZ_CHECK(std::strlen(name) < kSpeakerNameSize);
    FUZZ_CHECK(rest >= block.c_str() && rest <= block.c_str() + block.size());

    std::vector<MsgCode> codes;
    appendMsgCodes(codes, text.c_str());
    FUZZ_CHECK(codes.size() <= std::strlen(text.c_str()));
    vstring plain;
    msgPlainText(codes, plain);
    FUZZ_CHECK(plain.size() <= 2 * codes.size());
    for (MsgCode code : codes) {
        charClass(code);
        isKinsokuChar(code);
    }

    cFakeGlyphs glyphs;
    setMsgGlyphs(&glyphs);
    {
        cMsgBox box;
        box.CreateFonts();
        if (layout & 0x40) {
            box.boxImage.Create(4, 120, 50);  // smaller than the name plate and the text area
            std::memset(box.boxImage.pixels, 0xFF, 120 * 50 * 4);
        }
        if (novel && (layout & 0x80)) box.textCanvas.Create(4, kNovelCanvasWidth, kNovelCanvasHeight);
        box.Clear();
        box.SetText(text.c_str());
        FUZZ_CHECK(box.codes == codes);
        FUZZ_CHECK(box.SetSpeaker(name, novel));
        // Each call that stops short of the end has reached a target above the last one, so
        // typing ends after at most as many calls as units were spent.
        int32_t target = 0;
        int64_t calls = 0;
        while (box.DrawUpTo(target)) {
            target += 1 + targetStep;
            FUZZ_CHECK(++calls <= int64_t(box.units) + 1);
        }
        FUZZ_CHECK(box.codes.empty() && box.rubyCodes.empty());
    }
    setMsgGlyphs(nullptr);
    setLeadByteTest(nullptr);
    MsgWindowMode = 0;
    gMsgTextArea = kWindowTextArea;
    return 0;
}
