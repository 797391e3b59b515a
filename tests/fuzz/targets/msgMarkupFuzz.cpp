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

// The codes of a text as the markup rules state them: a lead byte takes the next byte along
// (unless that is the end), "\" takes the next byte as an ordinary code (0 at the end), the markup
// bytes become their codes and every other byte is itself.
std::vector<MsgCode> expectedCodes(const std::string& whole, bool (*lead)(uint8_t)) {
    static const char kMarkup[] = "@/><|()[]{}";
    const std::string text = whole.c_str();
    std::vector<MsgCode> codes;
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t byte = static_cast<uint8_t>(text[i]);
        const uint8_t next = i + 1 < text.size() ? static_cast<uint8_t>(text[i + 1]) : 0;
        if (lead(byte)) {
            codes.push_back(byte * 256u + next);
            if (next) ++i;
        } else if (byte == '\\') {
            codes.push_back(next);
            if (next) ++i;
        } else if (const char* m = std::strchr(kMarkup, byte); m && byte) {
            codes.push_back(0x10001 + static_cast<MsgCode>(m - kMarkup));
        } else {
            codes.push_back(byte);
        }
    }
    return codes;
}

// The plain text: a reading skipped from its "(" to the next markup code other than "/", each "/"
// a line feed, other markup dropped, a code as its high byte (when not 0) and its low byte.
std::string expectedPlain(const std::vector<MsgCode>& codes) {
    std::string out;
    bool skip = false;
    for (MsgCode code : codes) {
        if (code == kMsgRubyOn) skip = true;
        else if (code == kMsgNewLine) out += '\n';
        else if (code > 0xFFFF) skip = false;
        else if (!skip && code != 0) {
            if (code >> 8) out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        }
    }
    return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t layout = input.Byte();
    const uint8_t targetStep = input.Byte();
    const std::string block = input.Text();
    const std::string text(reinterpret_cast<const char*>(input.Rest()), input.Left());
    const bool novel = layout & 1;
    bool (*const lead)(uint8_t) = layout & 2 ? shiftJisLead : gbkLead;
    setLeadByteTest(lead);
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
    FUZZ_CHECK(codes == expectedCodes(text, lead));
    vstring plain;
    msgPlainText(codes, plain);
    const std::string plainText = expectedPlain(codes);
    // The plain text ends at its first NUL (a lead byte at the very end makes a code whose low
    // byte is 0).
    FUZZ_CHECK(plainText.c_str() == std::string(plain.c_str()));
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
        // Line breaking: a character of the message (full size, in the text colour, not in the
        // name font) ends inside the text area or starts a line, unless it may not begin one.
        const int nameFont = 2;
        for (const cFakeGlyphs::Drawn& d : glyphs.drawn) {
            if (d.scale != 1.0 || d.font == nameFont || d.r != box.textColour[0] ||
                d.g != box.textColour[1] || d.b != box.textColour[2] || isKinsokuChar(d.code))
                continue;
            FUZZ_CHECK(int64_t(d.x) + box.charSize <= gMsgTextArea.right || d.x == gMsgTextArea.left);
        }
    }
    setMsgGlyphs(nullptr);
    setLeadByteTest(nullptr);
    MsgWindowMode = 0;
    gMsgTextArea = kWindowTextArea;
    return 0;
}
