// The ten picture slots.
#pragma once

// Flags every slot as changed, so that the next frame composes them.
void markAnimeDirty();
// Called whenever a message line is shown; does nothing.
void animeMessageHook();
