// Little-endian 32-bit fields, the byte order of every binary format the program stores.
#pragma once
#include <cstdint>
#include <vector>

inline uint32_t getLE32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void putLE32(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void appendLE32(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t bytes[4];
    putLE32(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}
