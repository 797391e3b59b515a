// The options of a choice: the start of a text or map choice, map definitions, option lines with
// their conditions, the text options' rows and canvas, and the bar's button.
#include <cstdint>
#include <cstring>

#include "base/commandId.h"
#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "files/textBuf.h"
#include "graphics/text/textOut.h"
#include "presentation/choiceScreens.h"
#include "scenario/expression.h"

ChoiceState gChoiceState MODULE_OBJECT(kOrderButtonTables);
cSprite& gChoiceCanvas = gChoiceState.canvas;
uint32_t& gChoiceCount = gChoiceState.count;
uint8_t& gMapChoice = gChoiceState.mapChoice;
mSpots::IconTable& gIconTable = gChoiceState.icons;
mSpots::PlaceTable& gPlaceTable = gChoiceState.places;

namespace {
const cModuleReset kReset(kOrderButtonTables, [] {
    gChoiceCanvas.Release();
    gChoiceCount = 0;
    gMapChoice = 0;
    gIconTable.clear();
    gPlaceTable.clear();
});

constexpr int32_t kTextCharSize = 26;
constexpr int32_t kTextLineSpacing = 6;
constexpr int64_t kTextBytePitch = 13;  // pixels a byte of option text takes
constexpr int32_t kTextTop = 20;        // the text's offset below the top of its button
constexpr int32_t kBarButtonX = 548;
constexpr int32_t kBarButtonY = 572;

int32_t clampToInt32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

bool isTrue(const char* condition) { return evaluateExpression(condition) != 0; }
}  // namespace

namespace mSpots {

void InitSystemButtons() {
    gSystemSpots.Clear();
    gSystemSpots.Add(3, kCmdConfig, "sys_box_config.png", kBarButtonX, kBarButtonY);
}

void ReadMapLine(const char* line) {
    if (!line || line[0] == ';') return;
    const char* colon = std::strchr(line, ':');
    if (!colon) return;
    // The keyword is everything before the first ":", blanks included.
    const vstring keyword(line, static_cast<size_t>(colon - line));
    cParams words;
    words.Parse(colon + 1);
    if (vs_compare(keyword.c_str(), "ICON") == 0) {
        cIconNode& icon = gIconTable[internString(words.Get(0))];
        icon.frames = decimalValue(words.Get(1));
        icon.image = words.Get(2);
    } else if (vs_compare(keyword.c_str(), "PLACE") == 0) {
        cPlaceNode& place = gPlaceTable[internString(words.Get(0))];
        place.x = decimalValue(words.Get(1));
        place.y = decimalValue(words.Get(2));
        place.overlay = words.Get(3);
        place.ox = decimalValue(words.Get(4));
        place.oy = decimalValue(words.Get(5));
    }
}

bool LoadMapDefinition(const char* name) {
    ClearChoices();
    cTextBuf lines;
    if (!name || !lines.Load("map", name)) return false;
    ReadMapDefinition(lines);
    return true;
}

void ReadMapDefinition(const cTextBuf& lines) {
    for (size_t i = 0; i < lines.LineCount(); ++i) ReadMapLine(lines.Line(i));
}

bool AddMapChoice(int32_t number, const char* iconName, const char* placeName, bool enabled) {
    auto icon = gIconTable.find(internString(iconName ? iconName : ""));
    auto place = gPlaceTable.find(internString(placeName ? placeName : ""));
    if (icon == gIconTable.end() || place == gPlaceTable.end()) return false;
    const uint32_t id = static_cast<uint32_t>(number);
    const uint32_t before = gChoiceSpots.count;
    bool ok;
    if (place->second.overlay.empty()) {
        ok = gChoiceSpots.Add(icon->second.frames, id, icon->second.image.c_str(), place->second.x,
                              place->second.y);
    } else {
        ok = gChoiceSpots.AddWithOverlay(icon->second.frames, id, icon->second.image.c_str(),
                                         place->second.x, place->second.y,
                                         place->second.overlay.c_str(), place->second.ox,
                                         place->second.oy);
    }
    // A slot taken keeps its enable state even when an image failed: a disabled option whose
    // overlay is missing must not become clickable.
    if (gChoiceSpots.count != before) gChoiceSpots.SetEnabled(id, enabled);
    return ok;
}

bool AddTextChoice(int32_t number, const char* text) {
    if (!text) text = "";
    const int64_t row = gChoiceCount;
    ++gChoiceCount;
    const int32_t buttonY = clampToInt32(kChoiceCanvasY + kChoiceRowPitch * row);
    gChoiceSpots.Add(3, static_cast<uint32_t>(number), "sys_select_item.png", kChoiceCanvasX, buttonY);

    // Centred in the row; a text wider than the canvas starts at its left edge.
    int64_t x = (kChoiceCanvasWidth - kTextBytePitch * static_cast<int64_t>(std::strlen(text))) / 2;
    if (x < 0) x = 0;
    cTextOut pen;
    pen.SetFont(kTextCharSize, kTextLineSpacing);
    pen.colour[0] = pen.colour[1] = pen.colour[2] = 255;
    pen.left = pen.x = static_cast<int32_t>(x);
    pen.top = pen.y = clampToInt32(kTextTop + kChoiceRowPitch * row);
    pen.PutString(gChoiceCanvas, text, false);
    return true;
}

void ResetChoiceCanvas() {
    gChoiceCount = 0;
    if (gChoiceCanvas.Create(4, kChoiceCanvasWidth, kChoiceCanvasHeight))
        std::memset(gChoiceCanvas.pixels, 0, static_cast<size_t>(gChoiceCanvas.ByteCount()));
}

void ClearChoices() {
    gChoiceCount = 0;
    gChoiceSpots.Clear();
    if (gChoiceCanvas.HasPixels())
        std::memset(gChoiceCanvas.pixels, 0, static_cast<size_t>(gChoiceCanvas.ByteCount()));
    gIconTable.clear();
    gPlaceTable.clear();
}
}  // namespace mSpots

bool beginChoice(const char* rest) {
    gMapChoice = 0;
    if (!rest) return false;
    cParams words;
    words.Parse(rest);
    const char* map = words.Get(0);
    if (!*map) {
        // Options of an earlier SELECT that never reached its CASE do not carry over.
        mSpots::ClearChoices();
        mSpots::ResetChoiceCanvas();
        return true;
    }
    if (!mSpots::LoadMapDefinition(map)) {
        // The options are then taken as text options: they need a canvas to show on.
        mSpots::ResetChoiceCanvas();
        return false;
    }
    gMapChoice = 1;
    return true;
}

bool addChoiceOption(int32_t number, const char* line) {
    cParams words;
    words.Parse(line ? line : "");
    if (gMapChoice) {
        const char* show = words.Get(2);
        const char* enable = words.Get(3);
        if (*show && !isTrue(show)) return true;
        const bool enabled = !*enable || isTrue(enable);
        return mSpots::AddMapChoice(number, words.Get(0), words.Get(1), enabled);
    }
    const char* show = words.Get(1);
    if (*show && !isTrue(show)) return true;
    return mSpots::AddTextChoice(number, words.Get(0));
}
