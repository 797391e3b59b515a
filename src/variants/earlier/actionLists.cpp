#include "presentation/screens/actionLists.h"

namespace {
const uint8_t kRight[] = {11, 12, 14, 15, 16, 17, 20, 21, 22, kActionListEnd};
const uint8_t kMiddle[] = {22, 11, 12, 14, 15, 16, 17, 20, 21, kActionListEnd};
const uint8_t kWheelUp[] = {12, 11, 14, 15, 16, 17, 20, 21, 22, kActionListEnd};
const uint8_t kWheelDown[] = {4, 11, 12, 14, 15, 16, 17, 20, 21, 22, kActionListEnd};
const uint8_t kSpace[] = {4, 12, 14, kActionListEnd};
const uint8_t kPad[] = {0, 2, 3, 9, 10, 12, 14, 15, 16, 17, 20, 21, 22, kActionListEnd};
const uint8_t kFunctionKey[] = {0, 12, 14, 15, 16, 17, 20, 21, 22, 24, kActionListEnd};
const uint8_t kEmpty[] = {kActionListEnd};
const uint8_t* const kLists[kActionListCount] = {kRight, kMiddle, kWheelUp, kWheelDown,
                                                 kSpace, kPad, kFunctionKey};
}  // namespace

const uint8_t* actionList(ActionListId id) {
    return id < kActionListCount ? kLists[id] : kEmpty;
}
