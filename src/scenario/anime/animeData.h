// One picture slot and its blend layers: a PNG picture, a plain colour, or an animation definition
// (a background with layers, an actor from a base and a face picture, or a programmed animation).
#pragma once
#include <cstdint>
#include <vector>

#include "base/vstring.h"
#include "config/colourName.h"
#include "files/textBuf.h"
#include "graphics/image.h"
#include "scenario/anime/animeProgram.h"

class cCanvas;

enum AnimeType : uint8_t {
    kAnimeTypeNone = 0,
    kAnimeTypeImage = 1,
    kAnimeTypeColour = 2,
    kAnimeTypeBack = 3,
    kAnimeTypeMovie = 4,
    kAnimeTypeActor = 5,
};

namespace mAnime {

class cAnimeLayer {
public:
    // Picture released, name emptied, mode Normal, opaque.
    void Clear();
    // Draws the layer at the frame's top-left by its blend mode and alpha; nothing without a
    // picture or in mode 0.
    void Draw(cCanvas& frame) const;

    vstring name;         // PNG of the layer picture
    cSprite image;
    uint8_t mode = 1;     // BlendMode; 0 = not drawn
    int32_t alpha = 255;  // 0 to 255
};

class cAnimeData {
public:
    cAnimeData() = default;
    cAnimeData(const cAnimeData&) = delete;
    cAnimeData& operator=(const cAnimeData&) = delete;

    // Empties the slot (the start time stays).
    void Clear();
    // Clears the slot, restarts its time base and loads the name: a definition (extension "img",
    // folder "anime"), a colour name or a PNG (folder "img"). False for no name, a definition that
    // cannot be read or a picture that cannot be loaded.
    bool Load(const char* name);
    // Pictures and actors stand on the bottom centre of the screen; a picture's origin becomes its
    // own bottom centre.
    void PlaceDefault();
    void ResetOrigin();
    void SetX(int32_t value);
    void SetY(int32_t value);
    // Applies one section of the kept definition: its keys change the slot (keys accumulate over
    // sections), its command lines rebuild the program.
    void ApplySection(int32_t number);

    // First pass of a composition: the pictures refreshed by name, then drawn by the slot's type.
    void Draw(cCanvas& frame);
    // Second pass: the ten layers of a back slot.
    void DrawLayers(cCanvas& frame);

    vstring name;         // what the slot was loaded from; empty for an empty slot
    int32_t section = 0;  // applied last
    int32_t x = 0, y = 0;
    uint8_t type = kAnimeTypeNone;
    cTextBuf definition;  // the lines of an ".img" definition
    vstring displayName;  // key "Name", drawn nowhere
    int32_t originX = 0, originY = 0;  // the picture's point placed at (x, y)
    int32_t faceX = 0, faceY = 0;      // face offset from the base's top-left
    RgbColour colour = {0, 0, 0};
    vstring baseName;
    vstring faceName;
    cSprite base;
    cSprite face;
    std::vector<cAnimeCommand> commands;
    cAnimeLayer layers[kAnimeLayerCount];
    uint32_t startTime = 0;  // clock at the last load or "ResetTimer"
};

}  // namespace mAnime
