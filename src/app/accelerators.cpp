#include "app/accelerators.h"

namespace {
constexpr uint8_t V = kAccelVirtKey;

const AccelEntry kAll[] = {
    {V, kVkApps, 11},     {V | kAccelAlt, kVkReturn, 26}, {V, kVkSpace, 34},
    {V | kAccelAlt, kVkMenu, 35},
    {V, kVkF1 + 0, 36},  {V, kVkF1 + 1, 37},  {V, kVkF1 + 2, 38},  {V, kVkF1 + 3, 39},
    {V, kVkF1 + 4, 40},  {V, kVkF1 + 5, 41},  {V, kVkF1 + 6, 42},  {V, kVkF1 + 7, 43},
    {V, kVkF1 + 8, 44},  {V, kVkF1 + 9, 45},  {V, kVkF1 + 10, 46}, {V, kVkF1 + 11, 47},
};

const AccelEntry kCommon[] = {
    {V, kVkEscape, 22},  {V, kVkAdd, 22},     {V, kVkTab, 12},     {V, kVkSubtract, 12},
    {V, kVkBack, 14},    {V, kVkInsert, 17},  {V, kVkDelete, 18},  {V, kVkNumpad0, 17},
    {V, kVkHome, 20},    {V, kVkNumpad7, 20}, {V, kVkEnd, 21},     {V, kVkNumpad1, 21},
    {V, kVkMultiply, 16}, {V, kVkDivide, 15},
    {V | kAccelShift, kVkDown, 16}, {V | kAccelShift, kVkRight, 15},
    {V | kAccelShift, kVkHome, 19},
};

const AccelEntry kReading[] = {
    {V, kVkReturn, 2},  {V, kVkDown, 2},     {V, kVkNumpad2, 2},  {V, kVkUp, 14},
    {V, kVkPrior, 14},  {V, kVkNumpad8, 14}, {V, kVkNumpad9, 14}, {V, kVkLeft, 5},
    {V, kVkNumpad4, 5}, {V, kVkRight, 6},    {V, kVkNumpad6, 6},
};

const AccelEntry kMenu[] = {
    {V, kVkReturn, 2},  {V, kVkPrior, 14},   {V, kVkNumpad9, 14}, {V, kVkLeft, 5},
    {V, kVkRight, 6},   {V, kVkUp, 7},       {V, kVkDown, 8},     {V, kVkNumpad4, 5},
    {V, kVkNumpad6, 6}, {V, kVkNumpad8, 7},  {V, kVkNumpad2, 8},
};

const AccelEntry kScreen[] = {
    {V, kVkReturn, 2},  {V, kVkEscape, 3},   {V, kVkBack, 3},     {V, kVkTab, 3},
    {V, kVkLeft, 5},    {V, kVkRight, 6},    {V, kVkUp, 7},       {V, kVkDown, 8},
    {V, kVkNumpad4, 5}, {V, kVkNumpad6, 6},  {V, kVkNumpad8, 7},  {V, kVkNumpad2, 8},
    {V, kVkPrior, 9},   {V, kVkNumpad9, 9},  {V, kVkNext, 10},    {V, kVkNumpad3, 10},
};

template <int N>
AccelTableData tableOf(const AccelEntry (&entries)[N]) {
    return {entries, N};
}
}  // namespace

AccelTableData acceleratorTable(AccelTableId table) {
    switch (table) {
    case kAccelTableAll: return tableOf(kAll);
    case kAccelTableCommon: return tableOf(kCommon);
    case kAccelTableReading: return tableOf(kReading);
    case kAccelTableMenu: return tableOf(kMenu);
    case kAccelTableScreen: return tableOf(kScreen);
    default: return {nullptr, 0};
    }
}

int acceleratorTablesForMode(uint8_t inputMode, AccelTableId out[3]) {
    int n = 0;
    out[n++] = kAccelTableAll;
    switch (inputMode) {
    case 0:
        out[n++] = kAccelTableCommon;
        out[n++] = kAccelTableReading;
        break;
    case 1:
        out[n++] = kAccelTableCommon;
        out[n++] = kAccelTableMenu;
        break;
    case 2:
        out[n++] = kAccelTableScreen;
        break;
    default:
        break;
    }
    return n;
}

uint8_t acceleratorCommand(uint8_t inputMode, uint16_t key, uint8_t modifiers) {
    const uint8_t held = modifiers & (kAccelShift | kAccelControl | kAccelAlt);
    AccelTableId tables[3];
    int n = acceleratorTablesForMode(inputMode, tables);
    for (int t = 0; t < n; ++t) {
        AccelTableData data = acceleratorTable(tables[t]);
        for (int i = 0; i < data.count; ++i) {
            const AccelEntry& e = data.entries[i];
            if (e.key == key && (e.flags & (kAccelShift | kAccelControl | kAccelAlt)) == held)
                return e.command;
        }
    }
    return 0;
}
