#include "app/accelerators.h"

#include "base/commandId.h"

namespace {
constexpr uint8_t V = kAccelVirtKey;

const AccelEntry kAll[] = {
    {V, kVkApps, kCmdPopupMenu}, {V | kAccelAlt, kVkReturn, kCmdToggleScreen},
    {V, kVkSpace, kRawSpace}, {V | kAccelAlt, kVkMenu, kRawAlt},
    {V, kVkF1, kRawF1}, {V, kVkF1 + 1, kRawF1 + 1},
    {V, kVkF1 + 2, kRawF1 + 2}, {V, kVkF1 + 3, kRawF1 + 3},
    {V, kVkF1 + 4, kRawF1 + 4}, {V, kVkF1 + 5, kRawF1 + 5},
    {V, kVkF1 + 6, kRawF1 + 6}, {V, kVkF1 + 7, kRawF1 + 7},
    {V, kVkF1 + 8, kRawF1 + 8}, {V, kVkF1 + 9, kRawF1 + 9},
    {V, kVkF1 + 10, kRawF1 + 10}, {V, kVkF1 + 11, kRawF1 + 11},
};

const AccelEntry kCommon[] = {
    {V, kVkEscape, kCmdConfig}, {V, kVkAdd, kCmdConfig},
    {V, kVkTab, kCmdHideWindow}, {V, kVkSubtract, kCmdHideWindow},
    {V, kVkBack, kCmdBacklog}, {V, kVkInsert, kCmdQuickSave},
    {V, kVkDelete, kCmdQuickLoad}, {V, kVkNumpad0, kCmdQuickSave},
    {V, kVkHome, kCmdSaveScreen}, {V, kVkNumpad7, kCmdSaveScreen},
    {V, kVkEnd, kCmdLoadScreen}, {V, kVkNumpad1, kCmdLoadScreen},
    {V, kVkMultiply, kCmdAutoMode}, {V, kVkDivide, kCmdSkipMode},
    {V | kAccelShift, kVkDown, kCmdAutoMode}, {V | kAccelShift, kVkRight, kCmdSkipMode},
    {V | kAccelShift, kVkHome, kCmdTitle},
};

const AccelEntry kReading[] = {
    {V, kVkReturn, kCmdOk}, {V, kVkDown, kCmdOk},
    {V, kVkNumpad2, kCmdOk}, {V, kVkUp, kCmdBacklog},
    {V, kVkPrior, kCmdBacklog}, {V, kVkNumpad8, kCmdBacklog},
    {V, kVkNumpad9, kCmdBacklog}, {V, kVkLeft, kCmdLeft},
    {V, kVkNumpad4, kCmdLeft}, {V, kVkRight, kCmdRight},
    {V, kVkNumpad6, kCmdRight},
};

const AccelEntry kMenu[] = {
    {V, kVkReturn, kCmdOk}, {V, kVkPrior, kCmdBacklog},
    {V, kVkNumpad9, kCmdBacklog}, {V, kVkLeft, kCmdLeft},
    {V, kVkRight, kCmdRight}, {V, kVkUp, kCmdUp},
    {V, kVkDown, kCmdDown}, {V, kVkNumpad4, kCmdLeft},
    {V, kVkNumpad6, kCmdRight}, {V, kVkNumpad8, kCmdUp},
    {V, kVkNumpad2, kCmdDown},
};

const AccelEntry kScreen[] = {
    {V, kVkReturn, kCmdOk}, {V, kVkEscape, kCmdCancel},
    {V, kVkBack, kCmdCancel}, {V, kVkTab, kCmdCancel},
    {V, kVkLeft, kCmdLeft}, {V, kVkRight, kCmdRight},
    {V, kVkUp, kCmdUp}, {V, kVkDown, kCmdDown},
    {V, kVkNumpad4, kCmdLeft}, {V, kVkNumpad6, kCmdRight},
    {V, kVkNumpad8, kCmdUp}, {V, kVkNumpad2, kCmdDown},
    {V, kVkPrior, kCmdPageUp}, {V, kVkNumpad9, kCmdPageUp},
    {V, kVkNext, kCmdPageDown}, {V, kVkNumpad3, kCmdPageDown},
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
    case kInputReading:
        out[n++] = kAccelTableCommon;
        out[n++] = kAccelTableReading;
        break;
    case kInputMenu:
        out[n++] = kAccelTableCommon;
        out[n++] = kAccelTableMenu;
        break;
    case kInputScreen:
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
