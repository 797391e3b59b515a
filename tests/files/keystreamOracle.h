// An independent model of the keystream for the tests: byte k after seeding with s is the low byte
// of the tempered word s * 69069^(k+1) (mod 2^32), computed directly by exponentiation.
#pragma once
#include <cstdint>
#include <vector>

inline uint32_t oraclePow69069(uint64_t e) {
    uint32_t result = 1, base = 69069;
    while (e) {
        if (e & 1) result *= base;
        base *= base;
        e >>= 1;
    }
    return result;
}

inline uint8_t oracleStreamByte(uint32_t seed, uint64_t k) {
    uint32_t y = seed * oraclePow69069(k + 1);
    y ^= y >> 11;
    y ^= (y << 7) & 0x6B2D94E7u;
    y ^= (y << 15) & 0x2C8E5B19u;
    y ^= y >> 18;
    return static_cast<uint8_t>(y);
}

inline std::vector<uint8_t> oracleStream(uint32_t seed, size_t n) {
    std::vector<uint8_t> out(n);
    // Consecutive words: multiply on instead of exponentiating each time.
    uint32_t w = seed;
    for (size_t k = 0; k < n; ++k) {
        w *= 69069u;
        uint32_t y = w;
        y ^= y >> 11;
        y ^= (y << 7) & 0x6B2D94E7u;
        y ^= (y << 15) & 0x2C8E5B19u;
        y ^= y >> 18;
        out[k] = static_cast<uint8_t>(y);
    }
    return out;
}
