// Construction order of the module objects (static objects of every module). They are built in
// this order before the entry point and destroyed in the reverse order after it. Each definition
// of a module object carries MODULE_OBJECT(its number).
#pragma once

#define MODULE_OBJECT(n) __attribute__((init_priority(1000 + (n))))

enum ModuleObjectOrder {
    kOrderArchiveIndex = 1,
    kOrderButtonTables = 2,
    kOrderMsgBox = 3,
    kOrderBacklog = 4,
    kOrderPopupMenu = 5,
    kOrderGraphics = 6,
    kOrderScreenCanvases = 7,
    kOrderCharImage = 8,
    kOrderMsgCharImage = 9,
    kOrderScriptState = 10,
    kOrderCommandWords = 11,
    kOrderVariableNames = 12,
    kOrderPictureSlots = 13,
    kOrderSound = 14,
    kOrderCpuInfo = 15,
    kOrderSystemInfo = 16,
    kOrderReadFlags = 17,
    kOrderConfigRegistry = 18,
    kOrderFlowRecord = 19,
};
