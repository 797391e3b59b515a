#include <cstring>
#include <vector>

#include "files/keystream.h"
#include "keystreamOracle.h"
#include "testing.h"

namespace {
std::vector<uint8_t> streamBytes(uint32_t seed, size_t n) {
    KeystreamState s;
    cipherSeed(s, seed);
    std::vector<uint8_t> out(n, 0);
    decipherBytes(out.data(), n, s);
    return out;
}
}  // namespace

TEST(Keystream, MatchesTheOracleAroundEachRefill) {
    const uint32_t seeds[] = {kArchiveSeed,     kArchiveSeed + 1, kArchiveSeed + 2,
                              kArchiveSeed + 255, kSaveSeed,      0xFFFFFFFFu};
    for (uint32_t seed : seeds) {
        std::vector<uint8_t> got = streamBytes(seed, 2000);
        for (size_t k : {0, 1, 2, 3, 620, 621, 622, 623, 624, 625, 626, 627, 1244, 1245, 1246,
                         1247, 1248, 1249, 1250, 1871, 1872, 1873, 1999}) {
            ASSERT_EQ(oracleStreamByte(seed, k), got[k]) << "seed " << seed << " byte " << k;
        }
        // The direct exponentiation and the running product agree everywhere.
        EXPECT_EQ(oracleStream(seed, 2000), got) << "seed " << seed;
    }
}

TEST(Keystream, KnownBytesOfTheSaveAndArchiveStreams) {
    // Fixed values computed outside the program, so the oracle and the code cannot drift together.
    const uint8_t save[] = {0xfe, 0xcf, 0xf1, 0xa3, 0xcc, 0x6e};
    const uint8_t archive[] = {0xc3, 0xb0, 0xd9, 0xec, 0x3e, 0x79};
    const uint8_t saveAt623[] = {0x2f, 0xbb, 0x11, 0xbd};
    const uint8_t archiveAt623[] = {0x7f, 0x29, 0xd5, 0x99};
    std::vector<uint8_t> s = streamBytes(kSaveSeed, 627), a = streamBytes(kArchiveSeed, 627);
    EXPECT_EQ(0, std::memcmp(save, s.data(), 6));
    EXPECT_EQ(0, std::memcmp(archive, a.data(), 6));
    EXPECT_EQ(0, std::memcmp(saveAt623, s.data() + 623, 4));
    EXPECT_EQ(0, std::memcmp(archiveAt623, a.data() + 623, 4));
}

TEST(Keystream, SeedZeroLeavesEveryByteUnchanged) {
    std::vector<uint8_t> data(1300);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 + 3);
    std::vector<uint8_t> copy = data;
    KeystreamState s;
    cipherSeed(s, 0);
    decipherBytes(data.data(), data.size(), s);
    EXPECT_EQ(copy, data);
}

TEST(Keystream, TwoPassesWithReseedingRestoreTheData) {
    std::vector<uint8_t> data(1500);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i ^ (i >> 3));
    std::vector<uint8_t> original = data;
    KeystreamState s;
    cipherSeed(s, kArchiveSeed + 9);
    decipherBytes(data.data(), data.size(), s);
    EXPECT_NE(original, data);
    cipherSeed(s, kArchiveSeed + 9);
    decipherBytes(data.data(), data.size(), s);
    EXPECT_EQ(original, data);
}

TEST(Keystream, PiecesInOrderEqualOnePass) {
    std::vector<uint8_t> whole = streamBytes(kSaveSeed, 2600);
    const size_t pieceSets[][6] = {{1, 622, 1, 1, 623, 1352},
                                   {624, 624, 624, 624, 104, 0},
                                   {623, 2, 1246, 1, 728, 0},
                                   {2600, 0, 0, 0, 0, 0}};
    for (const auto& pieces : pieceSets) {
        KeystreamState s;
        cipherSeed(s, kSaveSeed);
        std::vector<uint8_t> got(whole.size(), 0);
        size_t at = 0;
        for (size_t n : pieces) {
            if (n == 0) continue;
            ASSERT_LE(at + n, got.size());
            if (n == 1) {
                uint8_t zero = 0;
                got[at] = cipherByte(s, &zero);
            } else {
                decipherBytes(got.data() + at, n, s);
            }
            at += n;
        }
        ASSERT_EQ(whole.size(), at);
        EXPECT_EQ(whole, got);
    }
}

TEST(Keystream, CipherByteDoesNotStoreAndSkipKeepsStep) {
    KeystreamState a, b;
    cipherSeed(a, kArchiveSeed);
    cipherSeed(b, kArchiveSeed);
    uint8_t byte = 0x5A;
    uint8_t out = cipherByte(a, &byte);
    EXPECT_EQ(0x5A, byte);
    EXPECT_EQ(static_cast<uint8_t>(0x5A ^ oracleStreamByte(kArchiveSeed, 0)), out);
    skipKeystream(a, 999);
    skipKeystream(b, 1000);
    uint8_t zero = 0;
    EXPECT_EQ(cipherByte(b, &zero), cipherByte(a, &zero));
}
