#include "scenario/anime/pictureSlots.h"

#include <cstdio>
#include <cstring>

#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "files/saveStream.h"
#include "graphics/screen.h"
#include "scenario/anime/composition.h"
#include "scenario/variableStore.h"

AnimeState gAnimeState MODULE_OBJECT(kOrderPictureSlots);
uint8_t& gAnimeDirty = gAnimeState.dirty;
int32_t& gRequestedFadeTime = gAnimeState.requestedFadeTime;
int32_t& gFadeTime = gAnimeState.fadeTime;
uint32_t& gFadeStart = gAnimeState.fadeStart;

namespace {
const cModuleReset kReset(kOrderPictureSlots, [] {
    for (mAnime::cAnimeData& slot : gAnimeState.slots) {
        slot.Clear();
        slot.startTime = 0;
    }
    gAnimeState.dirty = 1;
    gAnimeState.requestedFadeTime = -1;
    gAnimeState.fadeTime = 0;
    gAnimeState.fadeStart = 0;
});

// A record name: the key with the slot number appended.
struct SlotKey {
    char text[16];
    SlotKey(const char* key, int slot) { std::snprintf(text, sizeof text, "%s%d", key, slot); }
};
}  // namespace

mAnime::cAnimeData* animeSlot(int32_t slot) {
    return slot >= 0 && slot < kAnimeSlotCount ? &gAnimeState.slots[slot] : nullptr;
}

bool markAnimeDirty() {
    gAnimeDirty = 1;
    return true;
}

void clearAllAnime() {
    gAnimeDirty = 1;
    for (int i = 0; i < kAnimeSlotCount; ++i) clearAnime(i);
}

void clearAnime(int32_t slot) {
    mAnime::cAnimeData* s = animeSlot(slot);
    if (!s) return;
    gAnimeDirty = 1;
    s->Clear();
}

bool loadAnime(int32_t slot, const char* name) {
    mAnime::cAnimeData* s = animeSlot(slot);
    if (!s) return false;
    setSeenFlag(name);
    gAnimeDirty = 1;
    if (!s->Load(name)) return false;
    applyAnimeSection(slot, 0);
    if (slot != 0) s->PlaceDefault();
    return true;
}

bool applyAnimeSection(int32_t slot, int32_t section) {
    mAnime::cAnimeData* s = animeSlot(slot);
    if (!s) return false;
    gAnimeDirty = 1;
    s->ApplySection(section);
    return true;
}

void setAnimeX(int32_t slot, int32_t x) {
    mAnime::cAnimeData* s = animeSlot(slot);
    if (!s) return;
    gAnimeDirty = 1;
    s->SetX(x);
}

void setAnimeY(int32_t slot, int32_t y) {
    mAnime::cAnimeData* s = animeSlot(slot);
    if (!s) return;
    gAnimeDirty = 1;
    s->SetY(y);
}

void resetAnimeOrigin(int32_t slot) {
    mAnime::cAnimeData* s = animeSlot(slot);
    if (!s) return;
    gAnimeDirty = 1;
    s->ResetOrigin();
}

void setFadeTime(int32_t ms) { gRequestedFadeTime = ms < 0 ? 0 : ms > 60000 ? 60000 : ms; }

void animeMessageHook() {}

void serializeAnime(cSaveStream& stream) {
    const bool reading = !stream.IsWriting();
    for (int i = 0; i < kAnimeSlotCount; ++i) {
        mAnime::cAnimeData& slot = gAnimeState.slots[i];
        stream.StringField(SlotKey("Name", i).text, slot.name);
        // A save without the record applies section 0, not whatever the slot showed before.
        int32_t section = reading ? 0 : slot.section;
        stream.I32Field(SlotKey("Code", i).text, section);
        if (reading) {
            const vstring name = slot.name;  // the load clears the slot's own
            loadAnime(i, name.c_str());
            applyAnimeSection(i, section);
        }
        stream.I32Field(SlotKey("PosX", i).text, slot.x);
        stream.I32Field(SlotKey("PosY", i).text, slot.y);
    }
    if (!reading) return;
    if (gPrevScreen.HasPixels())
        std::memset(gPrevScreen.pixels, 0, static_cast<size_t>(gPrevScreen.ByteCount()));
    composeAllAnime();
}
