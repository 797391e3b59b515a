#include "base/cpuInfo.h"

#include <cstring>

#include "base/moduleOrder.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

cCpuInfo gCpuInfo MODULE_OBJECT(kOrderCpuInfo);

bool hasCpuid() {
#if defined(__x86_64__)
    // Every 64-bit x86 processor has cpuid: the ID flag always toggles.
    return true;
#elif defined(__i386__)
    // The compiler's helper toggles the ID flag before it trusts the instruction.
    return __get_cpuid_max(0, nullptr) != 0;
#else
    return false;
#endif
}

void rawCpuid(uint32_t leaf, uint32_t regs[4]) {
    regs[0] = regs[1] = regs[2] = regs[3] = 0;
#if defined(__x86_64__) || defined(__i386__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    __cpuid(leaf, a, b, c, d);
    regs[0] = a;
    regs[1] = b;
    regs[2] = c;
    regs[3] = d;
#else
    (void)leaf;
#endif
}

cCpuInfo::cCpuInfo() : Available(hasCpuid()), Raw(rawCpuid) { ReadLeaves(); }

cCpuInfo::cCpuInfo(bool available, RawCpuidFn raw) : Available(available && raw), Raw(raw) {
    ReadLeaves();
}

void cCpuInfo::ReadLeaves() {
    MaxStandardLeaf = 0;
    MaxExtendedLeaf = 0x80000000u;
    uint32_t eax = 0;
    if (cpuidIfSupported(*this, 0, &eax, nullptr, nullptr, nullptr)) MaxStandardLeaf = eax;
    if (cpuidIfSupported(*this, 0x80000000u, &eax, nullptr, nullptr, nullptr))
        MaxExtendedLeaf = eax;
}

bool cpuidIfSupported(const cCpuInfo& info, uint32_t leaf, uint32_t* eax, uint32_t* ebx,
                      uint32_t* ecx, uint32_t* edx) {
    if (!info.Available || !info.Raw) return false;
    if (leaf < 0x80000000u ? leaf > info.MaxStandardLeaf : leaf > info.MaxExtendedLeaf)
        return false;
    uint32_t regs[4] = {0, 0, 0, 0};
    info.Raw(leaf, regs);
    if (eax) *eax = regs[0];
    if (ebx) *ebx = regs[1];
    if (ecx) *ecx = regs[2];
    if (edx) *edx = regs[3];
    return true;
}

bool hasMMX(const cCpuInfo& info) {
    uint32_t edx = 0;
    return cpuidIfSupported(info, 1, nullptr, nullptr, nullptr, &edx) && (edx & (1u << 23));
}

bool hasMMX() { return hasMMX(gCpuInfo); }

namespace {
void copyName(const char* name, char* buffer, size_t size) {
    size_t n = std::strlen(name);
    if (n >= size) n = size - 1;
    std::memcpy(buffer, name, n);
    buffer[n] = 0;
}

void storeRegisters(const uint32_t regs[4], uint8_t* out) {
    for (int r = 0; r < 4; ++r)
        for (int b = 0; b < 4; ++b) out[r * 4 + b] = static_cast<uint8_t>(regs[r] >> (8 * b));
}

const char* intelName(uint32_t family, uint32_t model, uint32_t brandIndex,
                      const uint8_t descriptors[16]) {
    switch (brandIndex) {
    case 1: return "Intel Celeron";
    case 2: return "Intel Pentium 3";
    case 3: return "Intel Pentium 3 Xeon";
    case 8: return "Intel Pentium 4";
    default: break;
    }
    if (family == 4) {
        if (model == 4) return "Intel 486SL Processor";
        if (model == 7) return "Intel DX2 Processor";
        if (model == 8) return "Intel DX4 Processor";
    } else if (family == 5) {
        if (model >= 1 && model <= 3) return "Pentium Processor";
        if (model == 4) return "MMX Pentium Processor";
    } else if (family == 6) {
        switch (model) {
        case 1: return "Pentium Pro Processor";
        case 3: return "Pentium 2 Processor";
        case 5:
            // Without a second-level cache (descriptor 0x40) the model-5 part is a Celeron.
            for (int i = 0; i < 16; ++i)
                if (descriptors && descriptors[i] == 0x40) return "Celeron Processor";
            return "Pentium 2 Processor";
        case 6: return "Celeron Processor";
        case 7: return "Pentium 3 Processor";
        default: break;
        }
    }
    return nullptr;
}

const char* amdName(uint32_t family, uint32_t model) {
    if (family == 4) {
        if (model == 3 || model == 7) return "Am486 DX2 Processor";
        if (model == 8 || model == 9) return "Am486 DX4 or Am5x86";
        if (model == 14 || model == 15) return "Am5x86 Processor";
    } else if (family == 5) {
        if (model <= 3) return "AMD-K5 Processor";
        if (model >= 6 && model <= 9) return "AMD-K6 Processor";
    }
    return nullptr;
}
}  // namespace

const char* cpuNameFromVendorTables(const char* vendor, uint32_t leaf1Eax, uint32_t leaf1Ebx,
                                    const uint8_t descriptors[16]) {
    if (!vendor) return nullptr;
    uint32_t family = (leaf1Eax >> 8) & 0xF;
    uint32_t model = (leaf1Eax >> 4) & 0xF;
    if (std::strcmp(vendor, "GenuineIntel") == 0)
        return intelName(family, model, leaf1Ebx & 0xFF, descriptors);
    if (std::strcmp(vendor, "AuthenticAMD") == 0) return amdName(family, model);
    return nullptr;
}

bool getCpuBrandName(const cCpuInfo& info, char* buffer, size_t size) {
    if (!buffer || size == 0) return false;
    uint8_t area[kCpuNameSize] = {};
    for (uint32_t i = 0; i < 3; ++i) {
        uint32_t regs[4] = {0, 0, 0, 0};
        if (cpuidIfSupported(info, 0x80000002u + i, &regs[0], &regs[1], &regs[2], &regs[3]))
            storeRegisters(regs, area + 16 * i);
    }
    const char* text = reinterpret_cast<const char*>(area);
    while (*text == ' ') ++text;
    if (!*text) return false;
    copyName(text, buffer, size);
    return true;
}

bool getCpuName(const cCpuInfo& info, char* buffer, size_t size) {
    if (!buffer || size == 0) return false;
    buffer[0] = 0;
    if (!info.Available) return false;
    if (getCpuBrandName(info, buffer, size)) return true;

    uint32_t regs[4] = {0, 0, 0, 0};
    if (!cpuidIfSupported(info, 0, &regs[0], &regs[1], &regs[2], &regs[3])) return false;
    char vendor[13];
    uint32_t order[3] = {regs[1], regs[3], regs[2]};  // EBX, EDX, ECX
    for (int r = 0; r < 3; ++r)
        for (int b = 0; b < 4; ++b) vendor[r * 4 + b] = static_cast<char>(order[r] >> (8 * b));
    vendor[12] = 0;

    uint32_t eax1 = 0, ebx1 = 0;
    if (!cpuidIfSupported(info, 1, &eax1, &ebx1, nullptr, nullptr)) return false;
    uint8_t descriptors[16] = {};
    uint32_t leaf2[4] = {0, 0, 0, 0};
    if (cpuidIfSupported(info, 2, &leaf2[0], &leaf2[1], &leaf2[2], &leaf2[3]))
        storeRegisters(leaf2, descriptors);

    const char* name = cpuNameFromVendorTables(vendor, eax1, ebx1, descriptors);
    if (!name) return false;
    copyName(name, buffer, size);
    return true;
}

bool getCpuName(char* buffer, size_t size) { return getCpuName(gCpuInfo, buffer, size); }
