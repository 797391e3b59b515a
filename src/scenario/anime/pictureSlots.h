// The ten picture slots.
#pragma once

class cSaveStream;

// Flags every slot as changed, so that the next frame composes them.
void markAnimeDirty();
// Called whenever a message line is shown; does nothing.
void animeMessageHook();
// The save section "Data_Anime", written or read by the stream's mode.
void serializeAnime(cSaveStream& stream);
