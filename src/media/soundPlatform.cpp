#include "media/soundPlatform.h"

namespace {
const SoundPlatform* gPlatform = nullptr;
}  // namespace

void setSoundPlatform(const SoundPlatform* platform) { gPlatform = platform; }
const SoundPlatform* getSoundPlatform() { return gPlatform; }
