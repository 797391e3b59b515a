// The ten picture slots (0 drawn lowest) and their operations. Every operation that changes a slot
// raises one dirty flag; the next updateScreen recomposes the scene and cross-fades to it. A slot
// index outside 0 to 9 makes an operation do nothing (and return false where it returns a result).
#pragma once
#include <cstdint>

#include "scenario/anime/animeData.h"

class cSaveStream;

constexpr int kAnimeSlotCount = 10;

// The module's state: the slots and the cross-fade between compositions.
struct AnimeState {
    mAnime::cAnimeData slots[kAnimeSlotCount];
    uint8_t dirty = 1;                // the slots changed since the last composition
    int32_t requestedFadeTime = -1;   // ms for the next recomposition; -1 none requested
    int32_t fadeTime = 0;             // ms of the running cross-fade; 0 none
    uint32_t fadeStart = 0;           // clock when it began
};
extern AnimeState gAnimeState;
extern uint8_t& gAnimeDirty;
extern int32_t& gRequestedFadeTime;
extern int32_t& gFadeTime;
extern uint32_t& gFadeStart;

// The slot of that index, or null outside 0 to 9.
mAnime::cAnimeData* animeSlot(int32_t slot);

// Flags every slot as changed, so that the next frame composes them; true.
bool markAnimeDirty();
void clearAllAnime();
void clearAnime(int32_t slot);
// Sets the seen flag of the name, loads it into the slot, applies section 0 and gives slots 1 to 9
// their default placement; false when the name cannot be loaded (the slot left as the load left it).
bool loadAnime(int32_t slot, const char* name);
bool applyAnimeSection(int32_t slot, int32_t section);
void setAnimeX(int32_t slot, int32_t x);
void setAnimeY(int32_t slot, int32_t y);
void resetAnimeOrigin(int32_t slot);
// The cross-fade of the next recomposition, clamped to 0 .. 60000 ms.
void setFadeTime(int32_t ms);
// Called whenever a message line is shown; does nothing.
void animeMessageHook();
// The save section "Data_Anime", written or read by the stream's mode. Reading reloads every slot
// from its name and section, puts back its position and composes the restored scene.
void serializeAnime(cSaveStream& stream);
