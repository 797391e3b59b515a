// Processor identification through the cpuid instruction: the version page's processor name and
// whether the MMX path of the cross-fade may run.
#pragma once
#include <cstddef>
#include <cstdint>

// Runs cpuid for one leaf: EAX, EBX, ECX, EDX into regs[0..3].
using RawCpuidFn = void (*)(uint32_t leaf, uint32_t regs[4]);

class cCpuInfo {
public:
    // The real processor: availability from the ID flag, then the highest leaves.
    cCpuInfo();
    // A processor seen through another cpuid (tests): available as given, leaves read through raw.
    cCpuInfo(bool available, RawCpuidFn raw);

    bool Available = false;                  // the cpuid instruction exists
    uint32_t MaxStandardLeaf = 0;            // EAX of leaf 0
    uint32_t MaxExtendedLeaf = 0x80000000u;  // EAX of leaf 0x80000000
    RawCpuidFn Raw = nullptr;

private:
    void ReadLeaves();
};

extern cCpuInfo gCpuInfo;

// EFLAGS bit 21 (ID) can be toggled.
bool hasCpuid();
// The instruction itself (zeros where the processor has none).
void rawCpuid(uint32_t leaf, uint32_t regs[4]);

// cpuid when the leaf is within the processor's range; each output may be null.
bool cpuidIfSupported(const cCpuInfo& info, uint32_t leaf, uint32_t* eax, uint32_t* ebx,
                      uint32_t* ecx, uint32_t* edx);

// Leaf 1 EDX bit 23.
bool hasMMX(const cCpuInfo& info);
bool hasMMX();

// Size of a buffer that holds any processor name (the 48-byte brand string and its NUL).
constexpr size_t kCpuNameSize = 50;

// The brand string without its leading blanks; false when there is none. The buffer receives at
// most size - 1 bytes and a NUL.
bool getCpuBrandName(const cCpuInfo& info, char* buffer, size_t size);
// The brand string, else the name from the vendor tables; the buffer is "" when neither names it.
bool getCpuName(const cCpuInfo& info, char* buffer, size_t size);
bool getCpuName(char* buffer, size_t size);

// The vendor tables: a name by vendor string, leaf 1 (EAX, EBX) and leaf 2's sixteen descriptor
// bytes; null when the combination has no name.
const char* cpuNameFromVendorTables(const char* vendor, uint32_t leaf1Eax, uint32_t leaf1Ebx,
                                    const uint8_t descriptors[16]);
