// The keystream that scrambles archive names, archive entries and every save-folder file.
// Enciphering and deciphering are the same operation: XOR with the next stream byte.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint32_t kKeystreamWords = 624;
constexpr uint32_t kKeystreamMultiplier = 69069;
// Seeds: archive names (and, plus the entry's key byte, archive entries) and save-folder files.
constexpr uint32_t kArchiveSeed = 0x58E7;
constexpr uint32_t kSaveSeed = 0xF2C9;

struct KeystreamState {
    uint32_t words[kKeystreamWords];
    uint32_t index;  // next word to use, 0 to 624
};

// (Re)initialises a state: words[i] = seed * 69069^(i+1).
void cipherSeed(KeystreamState& state, uint32_t seed);
// The byte at p XOR the next stream byte; the caller stores the result.
uint8_t cipherByte(KeystreamState& state, const uint8_t* p);
// Replaces each of n bytes, in order, by cipherByte of itself.
void decipherBytes(void* buffer, size_t n, KeystreamState& state);
// Passes n bytes through the stream without data (keeps the stream in step with a file position).
void skipKeystream(KeystreamState& state, size_t n);
