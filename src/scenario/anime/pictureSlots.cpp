#include "scenario/anime/pictureSlots.h"

// not built yet
void markAnimeDirty() {}
// not built yet
void animeMessageHook() {}
// not built yet
void serializeAnime(cSaveStream&) {}
// not built yet
void clearAllAnime() {}
// not built yet
void clearAnime(int32_t) {}
// not built yet
bool loadAnime(int32_t, const char*) { return false; }
// not built yet
bool applyAnimeSection(int32_t, int32_t) { return false; }
// not built yet
void setAnimeX(int32_t, int32_t) {}
// not built yet
void setAnimeY(int32_t, int32_t) {}
// not built yet
void resetAnimeOrigin(int32_t) {}
// not built yet
void setFadeTime(int32_t) {}
