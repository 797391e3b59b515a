// The system's alphabetic test for the animation programs.
#include <windows.h>

#include "scenario/anime/animeProgram.h"

namespace {
bool systemCharAlpha(uint8_t byte) { return IsCharAlphaA(static_cast<CHAR>(byte)) != 0; }
}  // namespace

void installSystemCharAlpha() { setCharAlphaTest(systemCharAlpha); }
