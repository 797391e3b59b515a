// Test archives laid out byte by byte (independently of the engine's and the packer's writers):
// header, records, then each entry's data in order. Names are enciphered with the oracle stream of
// the archive seed running across the whole directory; data with the archive seed plus the key.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "keystreamOracle.h"

struct TestEntry {
    uint8_t key;
    std::string name;
    std::vector<uint8_t> data;
};

struct TestArchive {
    std::vector<uint8_t> bytes;
    std::vector<size_t> recordStart;   // where each record begins
    std::vector<size_t> recordEnd;     // one past each record
    std::vector<size_t> dataOffset;    // where each entry's data begins
};

inline void testPut32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 24));
}

inline std::vector<uint8_t> testData(size_t n, uint32_t salt) {
    std::vector<uint8_t> d(n);
    uint32_t x = salt * 2654435761u + 1;
    for (size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        d[i] = uint8_t(x >> 16);
    }
    return d;
}

inline TestArchive buildTestArchive(uint32_t priority, const std::vector<TestEntry>& entries,
                                    uint32_t version = 203, const char* magic = "MORVPACK") {
    TestArchive a;
    std::vector<uint8_t>& out = a.bytes;
    for (int i = 0; i < 8; ++i) out.push_back(uint8_t(magic[i]));
    testPut32(out, version);
    testPut32(out, priority);
    testPut32(out, uint32_t(entries.size()));
    size_t dirSize = 20;
    size_t nameBytes = 0;
    for (const TestEntry& e : entries) {
        dirSize += 10 + e.name.size();
        nameBytes += e.name.size();
    }
    std::vector<uint8_t> names = oracleStream(0x58E7, nameBytes);
    size_t nameAt = 0, dataAt = dirSize;
    for (const TestEntry& e : entries) {
        a.recordStart.push_back(out.size());
        out.push_back(e.key);
        out.push_back(uint8_t(e.name.size()));
        for (char c : e.name) out.push_back(uint8_t(c) ^ names[nameAt++]);
        testPut32(out, uint32_t(dataAt));
        testPut32(out, uint32_t(e.data.size()));
        a.recordEnd.push_back(out.size());
        a.dataOffset.push_back(dataAt);
        dataAt += e.data.size();
    }
    for (const TestEntry& e : entries) {
        std::vector<uint8_t> stream = oracleStream(0x58E7 + e.key, e.data.size());
        for (size_t i = 0; i < e.data.size(); ++i)
            out.push_back(e.key ? uint8_t(e.data[i] ^ stream[i]) : e.data[i]);
    }
    return a;
}

// Overwrites a little-endian 32-bit field.
inline void testSet32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(v >> (8 * i));
}
