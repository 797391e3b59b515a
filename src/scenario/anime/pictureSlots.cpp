#include "scenario/anime/pictureSlots.h"

void markAnimeDirty() {}
void animeMessageHook() {}
