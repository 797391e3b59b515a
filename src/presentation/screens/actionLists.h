// The actions that each remappable input may be bound to on the configuration dialog's input
// page. Each configuration has its own lists (the full one offers the flow chart, action 23, last
// in every list); the build lists link the one of the build.
#pragma once
#include <cstdint>

enum ActionListId : uint8_t {
    kListRightButton = 0,
    kListMiddleButton,
    kListWheelUp,
    kListWheelDown,
    kListSpace,
    kListPad,
    kListFunctionKey,
    kActionListCount,
};

// Any byte from this up ends a list (the number of actions).
constexpr uint8_t kActionListEnd = 29;

// The list's actions in order, ended by kActionListEnd.
const uint8_t* actionList(ActionListId id);
