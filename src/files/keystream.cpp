#include "files/keystream.h"

namespace {
constexpr uint32_t kTemperMask1 = 0x6B2D94E7;
constexpr uint32_t kTemperMask2 = 0x2C8E5B19;

inline uint8_t nextByte(KeystreamState& state) {
    // The table is rebuilt from its own last word when used up; there is no other mixing.
    if (state.index >= kKeystreamWords) cipherSeed(state, state.words[kKeystreamWords - 1]);
    uint32_t y = state.words[state.index++];
    y ^= y >> 11;
    y ^= (y << 7) & kTemperMask1;
    y ^= (y << 15) & kTemperMask2;
    y ^= y >> 18;
    return static_cast<uint8_t>(y);
}
}  // namespace

void cipherSeed(KeystreamState& state, uint32_t seed) {
    uint32_t x = seed;
    for (uint32_t i = 0; i < kKeystreamWords; ++i) {
        x *= kKeystreamMultiplier;
        state.words[i] = x;
    }
    state.index = 0;
}

uint8_t cipherByte(KeystreamState& state, const uint8_t* p) { return nextByte(state) ^ *p; }

void decipherBytes(void* buffer, size_t n, KeystreamState& state) {
    uint8_t* p = static_cast<uint8_t*>(buffer);
    for (size_t i = 0; i < n; ++i) p[i] ^= nextByte(state);
}

void skipKeystream(KeystreamState& state, size_t n) {
    for (size_t i = 0; i < n; ++i) nextByte(state);
}
