#include "base/cpuInfo.h"

#include <array>
#include <cstring>
#include <map>
#include <string>

#include "testing.h"

namespace {
// A scripted processor: leaf -> EAX, EBX, ECX, EDX.
std::map<uint32_t, std::array<uint32_t, 4>> gLeaves;
int gCalls = 0;
void fakeCpuid(uint32_t leaf, uint32_t regs[4]) {
    ++gCalls;
    auto it = gLeaves.find(leaf);
    for (int i = 0; i < 4; ++i) regs[i] = it == gLeaves.end() ? 0xDEADBEEF : it->second[i];
}

uint32_t word(const char* four) {
    return uint32_t(uint8_t(four[0])) | uint32_t(uint8_t(four[1])) << 8 |
           uint32_t(uint8_t(four[2])) << 16 | uint32_t(uint8_t(four[3])) << 24;
}

void setVendor(const char* vendor, uint32_t maxLeaf) {
    gLeaves[0] = {maxLeaf, word(vendor), word(vendor + 8), word(vendor + 4)};
}

void setBrand(const char* text48) {
    for (uint32_t i = 0; i < 3; ++i) {
        const char* p = text48 + 16 * i;
        gLeaves[0x80000002u + i] = {word(p), word(p + 4), word(p + 8), word(p + 12)};
    }
}

uint32_t leaf1(uint32_t family, uint32_t model) { return family << 8 | model << 4; }

std::string nameOf(const cCpuInfo& info) {
    char buffer[kCpuNameSize];
    std::memset(buffer, 'x', sizeof buffer);
    bool ok = getCpuName(info, buffer, sizeof buffer);
    EXPECT_EQ(ok, buffer[0] != 0);
    return buffer;
}
}  // namespace

TEST(CpuInfo, LeavesOutOfRangeAreNotRun) {
    gLeaves.clear();
    setVendor("GenuineIntel", 1);
    gLeaves[0x80000000u] = {0x80000004u, 0, 0, 0};
    cCpuInfo info(true, fakeCpuid);
    EXPECT_EQ(info.MaxStandardLeaf, 1u);
    EXPECT_EQ(info.MaxExtendedLeaf, 0x80000004u);
    uint32_t a = 0;
    gCalls = 0;
    EXPECT_FALSE(cpuidIfSupported(info, 2, &a, nullptr, nullptr, nullptr));
    EXPECT_FALSE(cpuidIfSupported(info, 0x80000005u, &a, nullptr, nullptr, nullptr));
    EXPECT_EQ(gCalls, 0);
    EXPECT_TRUE(cpuidIfSupported(info, 1, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(gCalls, 1);

    // Without the instruction nothing runs at all.
    gCalls = 0;
    cCpuInfo none(false, fakeCpuid);
    EXPECT_EQ(gCalls, 0);
    EXPECT_EQ(none.MaxStandardLeaf, 0u);
    EXPECT_EQ(none.MaxExtendedLeaf, 0x80000000u);
    EXPECT_FALSE(cpuidIfSupported(none, 0, &a, nullptr, nullptr, nullptr));
    EXPECT_FALSE(hasMMX(none));
    EXPECT_EQ(nameOf(none), "");
}

TEST(CpuInfo, MmxFlag) {
    gLeaves.clear();
    setVendor("GenuineIntel", 1);
    gLeaves[1] = {0, 0, 0, 1u << 23};
    EXPECT_TRUE(hasMMX(cCpuInfo(true, fakeCpuid)));
    gLeaves[1] = {0, 0, 0, ~(1u << 23)};
    EXPECT_FALSE(hasMMX(cCpuInfo(true, fakeCpuid)));
    setVendor("GenuineIntel", 0);  // leaf 1 out of range
    gLeaves[1] = {0, 0, 0, 1u << 23};
    EXPECT_FALSE(hasMMX(cCpuInfo(true, fakeCpuid)));
}

TEST(CpuInfo, BrandStringWithoutLeadingBlanks) {
    gLeaves.clear();
    setVendor("GenuineIntel", 1);
    gLeaves[1] = {leaf1(6, 7), 0, 0, 0};
    gLeaves[0x80000000u] = {0x80000004u, 0, 0, 0};
    char brand[48] = {};
    std::strcpy(brand, "      Intel(R) Core(TM) i7 CPU");
    setBrand(brand);
    EXPECT_EQ(nameOf(cCpuInfo(true, fakeCpuid)), "Intel(R) Core(TM) i7 CPU");

    // A full 48-byte brand has no terminator of its own; the area supplies it.
    std::memset(brand, 'B', sizeof brand);
    setBrand(brand);
    EXPECT_EQ(nameOf(cCpuInfo(true, fakeCpuid)), std::string(48, 'B'));
    char small[8];
    EXPECT_TRUE(getCpuBrandName(cCpuInfo(true, fakeCpuid), small, sizeof small));
    EXPECT_STREQ(small, "BBBBBBB");  // cut to the buffer

    // Blanks only: the vendor tables name it (family 6 model 7).
    std::memset(brand, ' ', sizeof brand);
    setBrand(brand);
    EXPECT_EQ(nameOf(cCpuInfo(true, fakeCpuid)), "Pentium 3 Processor");
    // No extended leaves at all: the same.
    gLeaves[0x80000000u] = {0x80000000u, 0, 0, 0};
    EXPECT_EQ(nameOf(cCpuInfo(true, fakeCpuid)), "Pentium 3 Processor");
}

TEST(CpuInfo, VendorTables) {
    const uint8_t none[16] = {};
    uint8_t noL2[16] = {};
    noL2[9] = 0x40;
    struct Case {
        const char* vendor;
        uint32_t family, model, brandIndex;
        const uint8_t* descriptors;
        const char* expected;
    };
    const Case cases[] = {
        {"GenuineIntel", 6, 7, 1, none, "Intel Celeron"},
        {"GenuineIntel", 6, 7, 2, none, "Intel Pentium 3"},
        {"GenuineIntel", 6, 7, 3, none, "Intel Pentium 3 Xeon"},
        {"GenuineIntel", 15, 0, 8, none, "Intel Pentium 4"},
        {"GenuineIntel", 4, 4, 0, none, "Intel 486SL Processor"},
        {"GenuineIntel", 4, 7, 0, none, "Intel DX2 Processor"},
        {"GenuineIntel", 4, 8, 0, none, "Intel DX4 Processor"},
        {"GenuineIntel", 4, 5, 0, none, nullptr},
        {"GenuineIntel", 5, 1, 0, none, "Pentium Processor"},
        {"GenuineIntel", 5, 3, 0, none, "Pentium Processor"},
        {"GenuineIntel", 5, 4, 0, none, "MMX Pentium Processor"},
        {"GenuineIntel", 5, 0, 0, none, nullptr},
        {"GenuineIntel", 6, 1, 0, none, "Pentium Pro Processor"},
        {"GenuineIntel", 6, 3, 0, none, "Pentium 2 Processor"},
        {"GenuineIntel", 6, 5, 0, none, "Pentium 2 Processor"},
        {"GenuineIntel", 6, 5, 0, noL2, "Celeron Processor"},
        {"GenuineIntel", 6, 6, 0, none, "Celeron Processor"},
        {"GenuineIntel", 6, 7, 0, none, "Pentium 3 Processor"},
        {"GenuineIntel", 6, 8, 0, none, nullptr},
        {"GenuineIntel", 15, 2, 0, none, nullptr},
        {"AuthenticAMD", 4, 3, 0, none, "Am486 DX2 Processor"},
        {"AuthenticAMD", 4, 7, 0, none, "Am486 DX2 Processor"},
        {"AuthenticAMD", 4, 8, 0, none, "Am486 DX4 or Am5x86"},
        {"AuthenticAMD", 4, 9, 0, none, "Am486 DX4 or Am5x86"},
        {"AuthenticAMD", 4, 14, 0, none, "Am5x86 Processor"},
        {"AuthenticAMD", 4, 15, 0, none, "Am5x86 Processor"},
        {"AuthenticAMD", 4, 4, 0, none, nullptr},
        {"AuthenticAMD", 5, 0, 0, none, "AMD-K5 Processor"},
        {"AuthenticAMD", 5, 3, 0, none, "AMD-K5 Processor"},
        {"AuthenticAMD", 5, 4, 0, none, nullptr},
        {"AuthenticAMD", 5, 6, 0, none, "AMD-K6 Processor"},
        {"AuthenticAMD", 5, 9, 0, none, "AMD-K6 Processor"},
        {"AuthenticAMD", 5, 10, 1, none, nullptr},  // the brand index is Intel's only
        {"AuthenticAMD", 15, 1, 0, none, nullptr},
        {"CyrixInstead", 5, 2, 0, none, nullptr},
    };
    for (const Case& c : cases) {
        const char* name =
            cpuNameFromVendorTables(c.vendor, leaf1(c.family, c.model), c.brandIndex, c.descriptors);
        EXPECT_STREQ(name ? name : "(none)", c.expected ? c.expected : "(none)")
            << c.vendor << " " << c.family << "/" << c.model;
    }
}

TEST(CpuInfo, VendorTablesThroughTheInstruction) {
    gLeaves.clear();
    setVendor("GenuineIntel", 2);
    gLeaves[1] = {leaf1(6, 5), 0, 0, 0};
    gLeaves[2] = {0x00000001, 0, 0x00400000, 0};  // descriptor 0x40 in ECX
    gLeaves[0x80000000u] = {0x80000000u, 0, 0, 0};
    EXPECT_EQ(nameOf(cCpuInfo(true, fakeCpuid)), "Celeron Processor");
    gLeaves[2] = {0x00000001, 0, 0, 0};
    EXPECT_EQ(nameOf(cCpuInfo(true, fakeCpuid)), "Pentium 2 Processor");
    setVendor("AuthenticAMD", 1);
    gLeaves[1] = {leaf1(5, 8), 0, 0, 0};
    EXPECT_EQ(nameOf(cCpuInfo(true, fakeCpuid)), "AMD-K6 Processor");
    setVendor("AuthenticAMD", 0);  // no leaf 1: no name
    EXPECT_EQ(nameOf(cCpuInfo(true, fakeCpuid)), "");
    EXPECT_FALSE(getCpuName(cCpuInfo(true, fakeCpuid), nullptr, 10));
}

TEST(CpuInfo, ThisProcessor) {
    // The build machine's processor: the instruction exists on every x86-64, and whatever it is
    // called, the name fits and is terminated.
    char buffer[kCpuNameSize];
    getCpuName(buffer, sizeof buffer);
    EXPECT_LT(std::strlen(buffer), sizeof buffer);
#if defined(__x86_64__)
    EXPECT_TRUE(hasCpuid());
    EXPECT_TRUE(gCpuInfo.Available);
    EXPECT_TRUE(hasMMX());
#endif
}
