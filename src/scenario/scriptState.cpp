#include "scenario/scriptState.h"

#include <cstdio>

#include "base/appHooks.h"
#include "base/clock.h"
#include "base/displayMode.h"
#include "base/moduleOrder.h"
#include "files/saveStream.h"
#include "scenario/script.h"
#include "scenario/scriptPresenter.h"

uint8_t scriptAbortFlag = 0;
vstring gChapterDate MODULE_OBJECT(kOrderScriptState);
vstring gChapterName MODULE_OBJECT(kOrderScriptState);

namespace {

constexpr uint32_t kMsPerMinute = 60000;
constexpr uint8_t kNoMode = 0xFF;

struct ScriptState {
    uint32_t storedMinutes = 0;
    uint32_t playTimeBase = 0;
    // The clock is read on first use rather than during static construction.
    bool baseTaken = false;
    cScript root;
    cSaveStack stack;
    // The display mode restored by a load, applied when the chain is rebuilt.
    uint8_t restoredMode = kNoMode;
};

ScriptState gScriptState MODULE_OBJECT(kOrderScriptState);

uint32_t playTimeBase() {
    if (!gScriptState.baseTaken) {
        gScriptState.playTimeBase = currentTimeMs();
        gScriptState.baseTaken = true;
    }
    return gScriptState.playTimeBase;
}

void putU32(uint8_t (&out)[4], uint32_t v) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t getU32(const uint8_t (&in)[4]) {
    return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 |
           static_cast<uint32_t>(in[2]) << 16 | static_cast<uint32_t>(in[3]) << 24;
}

// A 4-byte little-endian field in either direction.
void u32Field(cSaveStream& stream, const char* name, uint32_t& value) {
    uint8_t bytes[4];
    if (stream.IsWriting()) {
        putU32(bytes, value);
        stream.WriteField(name, bytes, sizeof bytes);
    } else if (stream.ReadField(name, bytes, sizeof bytes)) {
        value = getU32(bytes);
    }
}
void i32Field(cSaveStream& stream, const char* name, int32_t& value) {
    uint32_t bits = static_cast<uint32_t>(value);
    u32Field(stream, name, bits);
    value = static_cast<int32_t>(bits);
}
void u8Field(cSaveStream& stream, const char* name, uint8_t& value) {
    if (stream.IsWriting()) stream.WriteField(name, &value, 1);
    else stream.ReadField(name, &value, 1);
}

struct RecordName {
    char text[32];
    RecordName(const char* stem, uint32_t i) { std::snprintf(text, sizeof text, "%s%u", stem, i); }
};

const char* const kLevelStems[] = {"Name", "Line", "CaseID", "CaseEnable"};

// Play time, before either direction: the whole minutes since the base are banked and the base
// advances by just those minutes, so the part-minute carries on.
void bankPlayTime() {
    uint32_t base = playTimeBase();
    uint32_t minutes = elapsedMs(base, currentTimeMs()) / kMsPerMinute;
    gScriptState.storedMinutes += minutes;
    gScriptState.playTimeBase = base + minutes * kMsPerMinute;
}

void writeCallStack(cSaveStream& stream) {
    uint32_t count = 0;
    for (cScript* level = &gScriptState.root; level; level = level->Child(), ++count) {
        vstring name(level->Name());
        stream.StringField(RecordName("Name", count).text, name);
        int32_t line = level->SavePoint();
        i32Field(stream, RecordName("Line", count).text, line);
        int32_t caseId = level->CaseID();
        i32Field(stream, RecordName("CaseID", count).text, caseId);
        uint8_t caseEnable = level->CaseEnable();
        u8Field(stream, RecordName("CaseEnable", count).text, caseEnable);
    }
    u32Field(stream, "StackCount", count);
}

void readCallStack(cSaveStream& stream) {
    scriptAbortFlag = 1;
    cSaveStack& stack = gScriptState.stack;
    stack.clear();
    uint32_t count = 0;
    u32Field(stream, "StackCount", count);
    // No more levels than the chain may hold, and none past the last level with a record.
    if (count > static_cast<uint32_t>(kMaxCallLevels)) count = kMaxCallLevels;
    uint32_t present = 0;
    for (uint32_t i = 0; i < count; ++i)
        for (const char* stem : kLevelStems)
            if (stream.FindField(RecordName(stem, i).text)) present = i + 1;
    stack.resize(present);
    for (uint32_t i = 0; i < present; ++i) {
        cSaveNode& node = stack[i];
        stream.StringField(RecordName("Name", i).text, node.name);
        i32Field(stream, RecordName("Line", i).text, node.Line);
        i32Field(stream, RecordName("CaseID", i).text, node.CaseID);
        u8Field(stream, RecordName("CaseEnable", i).text, node.CaseEnable);
    }
}

void applyRestoredMode() {
    uint8_t mode = gScriptState.restoredMode;
    gScriptState.restoredMode = kNoMode;
    presentDisplayMode(mode != kNoMode ? mode : MsgWindowMode);
}

}  // namespace

cScript& rootScript() { return gScriptState.root; }
cSaveStack& saveStack() { return gScriptState.stack; }

void initScriptState() {
    gChapterDate.clear();
    gChapterName.clear();
    gScriptState.storedMinutes = 0;
    gScriptState.baseTaken = false;
    gScriptState.root.Clear();
    gScriptState.stack.clear();
    gScriptState.restoredMode = kNoMode;
    scriptAbortFlag = 0;
}

bool runGameScript() {
    scriptAbortFlag = 0;
    if (!startScript()) return false;
    return gScriptState.root.Run();
}

bool startScript() {
    appUpdateCaption();
    cSaveStack& stack = gScriptState.stack;
    if (!stack.empty()) {
        cScript* level = &gScriptState.root;
        for (const cSaveNode& node : stack) {
            level->Load(node.name.c_str());
            level->Restore(node.Line, node.CaseID, node.CaseEnable);
            level = level->AddChild();
        }
        applyRestoredMode();
        presentNewPage();
        stack.clear();
        return true;
    }
    gChapterDate.clear();
    gChapterName.clear();
    if (!gScriptState.root.Load("start.txt")) return false;
    if (gScriptState.restoredMode != kNoMode) applyRestoredMode();
    presentNewPage();
    return true;
}

void abortScript() {
    gScriptState.stack.clear();
    scriptAbortFlag = 1;
}

void setChapter(const char* date, const char* name) {
    if (date) gChapterDate = date;
    if (name) gChapterName = name;
    appUpdateCaption();
}

uint32_t getPlayTimeMinutes() {
    return gScriptState.storedMinutes + elapsedMs(playTimeBase(), currentTimeMs()) / kMsPerMinute;
}

void serializeScriptState(cSaveStream& stream) {
    stream.StringField("ChapterDate", gChapterDate);
    stream.StringField("ChapterName", gChapterName);
    bankPlayTime();
    u32Field(stream, "PlayTime", gScriptState.storedMinutes);
    if (stream.IsWriting()) {
        uint8_t mode = MsgWindowMode;
        stream.WriteField("ScriptMode", &mode, 1);
    } else {
        uint8_t mode = 0;
        if (stream.ReadField("ScriptMode", &mode, 1) && mode <= kModeLast) gScriptState.restoredMode = mode;
    }
    if (stream.IsWriting()) writeCallStack(stream);
    else readCallStack(stream);
}
