// The ten picture slots.
#pragma once
#include <cstdint>

class cSaveStream;

// Flags every slot as changed, so that the next frame composes them.
void markAnimeDirty();
// Called whenever a message line is shown; does nothing.
void animeMessageHook();
// The save section "Data_Anime", written or read by the stream's mode.
void serializeAnime(cSaveStream& stream);

// A slot outside 0 to 9 makes each of these do nothing (and return false where they return).
// Every slot emptied.
void clearAllAnime();
void clearAnime(int32_t slot);
// Loads a picture, colour or definition into the slot and gives slots 1 to 9 their default
// placement; false when it cannot be loaded.
bool loadAnime(int32_t slot, const char* name);
// Applies a section of the slot's definition.
bool applyAnimeSection(int32_t slot, int32_t section);
void setAnimeX(int32_t slot, int32_t x);
void setAnimeY(int32_t slot, int32_t y);
// The point of the picture placed at the slot's position := its top-left.
void resetAnimeOrigin(int32_t slot);
// The cross-fade time of the next recomposition (0 to 60000 ms).
void setFadeTime(int32_t ms);
