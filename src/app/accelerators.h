// The five key tables as data, and the order in which each input mode offers a key to them.
#pragma once
#include <cstdint>

// Entry flags, as the platform's accelerator entries carry them.
constexpr uint8_t kAccelVirtKey = 0x01;
constexpr uint8_t kAccelShift = 0x04;
constexpr uint8_t kAccelControl = 0x08;
constexpr uint8_t kAccelAlt = 0x10;

// Virtual-key codes of the keys in the tables.
enum VirtualKey : uint16_t {
    kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D, kVkMenu = 0x12, kVkEscape = 0x1B,
    kVkSpace = 0x20, kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24,
    kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28, kVkInsert = 0x2D,
    kVkDelete = 0x2E, kVkApps = 0x5D, kVkNumpad0 = 0x60, kVkNumpad1 = 0x61, kVkNumpad2 = 0x62,
    kVkNumpad3 = 0x63, kVkNumpad4 = 0x64, kVkNumpad6 = 0x66, kVkNumpad7 = 0x67,
    kVkNumpad8 = 0x68, kVkNumpad9 = 0x69, kVkMultiply = 0x6A, kVkAdd = 0x6B,
    kVkSubtract = 0x6D, kVkDivide = 0x6F, kVkF1 = 0x70, kVkF12 = 0x7B,
};

struct AccelEntry {
    uint8_t flags;
    uint16_t key;
    uint8_t command;
};

enum AccelTableId : uint8_t {
    kAccelTableAll,      // every input mode
    kAccelTableCommon,   // reading and menu
    kAccelTableReading,  // reading
    kAccelTableMenu,     // menu or choice
    kAccelTableScreen,   // screens
    kAccelTableCount
};

struct AccelTableData {
    const AccelEntry* entries;
    int count;
};

AccelTableData acceleratorTable(AccelTableId table);

// The tables offered a key in an input mode (0 reading, 1 menu, 2 screen), in order; returns how
// many were written to out (at most 3).
int acceleratorTablesForMode(uint8_t inputMode, AccelTableId out[3]);

// The command the tables give a virtual key in an input mode with the modifier flags held
// (kAccelShift, kAccelControl, kAccelAlt); entries match only on the exact modifier set, as the
// platform matches them. 0 when no table takes the key.
uint8_t acceleratorCommand(uint8_t inputMode, uint16_t key, uint8_t modifiers);
