// The input vocabulary: the one-byte CommandId latched by the input layer (popup-menu ids and
// key-table ids are the same numbers), the read modes and the input modes of pollInput.
#pragma once
#include <cstdint>

// CommandId values (one byte): 0 none; 1 to 28 actions; 30 to 55 raw codes.
enum CommandIdValue : uint8_t {
    kCmdNone = 0,
    kCmdClick = 1,
    kCmdOk = 2,
    kCmdCancel = 3,
    kCmdAdvance = 4,
    kCmdLeft = 5,
    kCmdRight = 6,
    kCmdUp = 7,
    kCmdDown = 8,
    kCmdPageUp = 9,
    kCmdPageDown = 10,
    kCmdPopupMenu = 11,
    kCmdHideWindow = 12,
    kCmdSimpleLog = 13,
    kCmdBacklog = 14,
    kCmdSkipMode = 15,
    kCmdAutoMode = 16,
    kCmdQuickSave = 17,
    kCmdQuickLoad = 18,
    kCmdTitle = 19,
    kCmdSaveScreen = 20,
    kCmdLoadScreen = 21,
    kCmdConfig = 22,
    kCmdFlowChart = 23,
    kCmdBossKey = 24,
    kCmdExit = 25,
    kCmdToggleScreen = 26,
    kCmdWindowed = 27,
    kCmdFullScreen = 28,
    kCmdLastAction = 28,
    // Raw codes, turned into actions by remapCommand before any consumer sees them.
    kRawRightButton = 30,
    kRawMiddleButton = 31,
    kRawWheelUp = 32,
    kRawWheelDown = 33,
    kRawSpace = 34,
    kRawAlt = 35,
    kRawF1 = 36,   // to 47 F12
    kRawF12 = 47,
    kRawPad1 = 48,  // to 55 pad button 8
    kRawPad8 = 55,
};

// ReadMode values.
enum ReadModeValue : uint8_t { kReadNormal = 0, kReadSkip = 1, kReadAuto = 2, kReadHidden = 3 };

// InputMode values (the argument of pollInput choosing the key tables).
enum InputModeValue : uint8_t { kInputReading = 0, kInputMenu = 1, kInputScreen = 2 };
