// Choice and map screens and the system-button bar.
//
// A choice of SELECT is either a list of text options (button images stacked in rows, their texts
// drawn into the choice canvas) or a map choice (icons placed on the picture of a map, defined by a
// map file of folder "map"). All options are spots of gChoiceSpots; the bar's one button (the
// configuration dialog) is the spot of gSystemSpots.
#pragma once
#include <cstdint>
#include <map>

#include "base/vstring.h"
#include "graphics/image.h"
#include "presentation/spots.h"

class cTextBuf;

// The choice canvas: the texts of the text options, drawn over their buttons at (100, 160).
constexpr int32_t kChoiceCanvasX = 100;
constexpr int32_t kChoiceCanvasY = 160;
constexpr int32_t kChoiceCanvasWidth = 600;
constexpr int32_t kChoiceCanvasHeight = 420;
// Rows of text options, from y 160.
constexpr int32_t kChoiceRowPitch = 70;

namespace mSpots {
// An icon of a map file: the button strip and its frame count.
struct cIconNode {
    vstring image;
    int32_t frames = 0;
};
// A place of a map file: where the icon goes, and the picture shown while it is hot.
struct cPlaceNode {
    int32_t x = 0, y = 0;
    vstring overlay;
    int32_t ox = 0, oy = 0;
};
// Keyed by interned names, so names match without regard to letter case.
using IconTable = std::map<const vstring*, cIconNode>;
using PlaceTable = std::map<const vstring*, cPlaceNode>;
}  // namespace mSpots

struct ChoiceState {
    cSprite canvas;      // 600 x 420, 4 bytes per pixel
    uint32_t count = 0;  // text options since the last reset: the row of the next one
    uint8_t mapChoice = 0;
    mSpots::IconTable icons;
    mSpots::PlaceTable places;
};
extern ChoiceState gChoiceState;
extern cSprite& gChoiceCanvas;
extern uint32_t& gChoiceCount;
extern uint8_t& gMapChoice;
extern mSpots::IconTable& gIconTable;
extern mSpots::PlaceTable& gPlaceTable;

namespace mSpots {
// Empties the bar and adds its configuration button.
void InitSystemButtons();
// Clears the choice, then reads "map\name" (the name as written); false when it cannot be read.
bool LoadMapDefinition(const char* name);
// The statements of a map file, in order: ICON and PLACE lines define (a later definition of a
// name replaces the earlier one); comments, lines without ":" and other keywords are ignored.
void ReadMapDefinition(const cTextBuf& lines);
void ReadMapLine(const char* line);
// A map option: the icon at its place; false when either is not defined or an image failed. The
// enable state is applied whenever a slot was taken.
bool AddMapChoice(int32_t number, const char* icon, const char* place, bool enabled);
// A text option in the next row, its text centred in the row; true.
bool AddTextChoice(int32_t number, const char* text);
// No text options, and a fresh transparent canvas.
void ResetChoiceCanvas();
// No options, icons or places; the canvas transparent.
void ClearChoices();
}  // namespace mSpots

// A choice of SELECT: beginChoice with the rest of the SELECT line (a map name, or empty for text
// options), addChoiceOption for each option line, then runChoice, which returns the number of the
// option taken (0 when a system command ended the choice).
bool beginChoice(const char* rest);
bool addChoiceOption(int32_t number, const char* line);
int32_t runChoice();
