#include "scenario/anime/animeData.h"

#include "base/clock.h"
#include "config/systemInfo.h"
#include "files/fileNames.h"

namespace mAnime {

void cAnimeLayer::Clear() {
    image.Release();
    name.clear();
    mode = 1;
    alpha = 255;
}

void cAnimeData::Clear() {
    name.clear();
    section = 0;
    x = y = 0;
    type = kAnimeTypeNone;
    definition.Clear();
    displayName.clear();
    originX = originY = faceX = faceY = 0;
    colour = {0, 0, 0};
    baseName.clear();
    faceName.clear();
    base.Release();
    face.Release();
    commands.clear();
    for (cAnimeLayer& layer : layers) layer.Clear();
}

bool cAnimeData::Load(const char* wanted) {
    // A copy first: the name may be the slot's own, which Clear empties.
    const vstring given(wanted ? wanted : "");
    Clear();
    startTime = currentTimeMs();
    if (!wanted) return false;
    name = given;
    if (sameFileExtension(given.c_str(), "img")) return definition.Load("anime", given.c_str());
    RgbColour named;
    if (lookupColourName(given.c_str(), named)) {
        colour = named;
        type = kAnimeTypeColour;
        return true;
    }
    type = kAnimeTypeImage;
    if (!base.LoadPng(given.c_str())) return false;
    baseName = given;
    return true;
}

void cAnimeData::PlaceDefault() {
    if (type != kAnimeTypeImage && type != kAnimeTypeActor) return;
    x = gScreenWidth / 2;
    y = gScreenHeight;
    if (type == kAnimeTypeImage) {
        originX = base.width / 2;
        originY = base.height;
    }
}

void cAnimeData::ResetOrigin() { originX = originY = 0; }
void cAnimeData::SetX(int32_t value) { x = value; }
void cAnimeData::SetY(int32_t value) { y = value; }

}  // namespace mAnime
