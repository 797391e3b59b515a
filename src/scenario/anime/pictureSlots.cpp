#include "scenario/anime/pictureSlots.h"

// not built yet
void markAnimeDirty() {}
// not built yet
void animeMessageHook() {}
// not built yet
void serializeAnime(cSaveStream&) {}
