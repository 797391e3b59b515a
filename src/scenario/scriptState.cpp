#include "scenario/scriptState.h"

#include <cstdio>

#include "base/appHooks.h"
#include "base/clock.h"
#include "base/displayMode.h"
#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "files/saveStream.h"
#include "scenario/script.h"
#include "scenario/scriptPresenter.h"

namespace {

constexpr uint32_t kMsPerMinute = 60000;
constexpr uint8_t kNoMode = 0xFF;

struct ScriptState {
    uint8_t abortFlag = 0;
    vstring chapterDate;
    vstring chapterName;
    uint32_t storedMinutes = 0;
    // Play time counts from the start of the program (beginPlayTime) or from the reset.
    uint32_t playTimeBase = 0;
    cScript root;
    cSaveStack stack;
    // The display mode restored by a load, applied when the chain is rebuilt.
    uint8_t restoredMode = kNoMode;
};

ScriptState gScriptState MODULE_OBJECT(kOrderScriptState);

const cModuleReset kReset(kOrderScriptState, resetScriptState);
}  // namespace

uint8_t& scriptAbortFlag = gScriptState.abortFlag;
vstring& gChapterDate = gScriptState.chapterDate;
vstring& gChapterName = gScriptState.chapterName;

namespace {

struct RecordName {
    char text[32];
    RecordName(const char* stem, uint32_t i) { std::snprintf(text, sizeof text, "%s%u", stem, i); }
};

const char* const kLevelStems[] = {"Name", "Line", "CaseID", "CaseEnable"};

// Play time, before either direction: the whole minutes since the base are banked and the base
// advances by just those minutes, so the part-minute carries on.
void bankPlayTime() {
    uint32_t base = gScriptState.playTimeBase;
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
        stream.I32Field(RecordName("Line", count).text, line);
        int32_t caseId = level->CaseID();
        stream.I32Field(RecordName("CaseID", count).text, caseId);
        uint8_t caseEnable = level->CaseEnable();
        stream.U8Field(RecordName("CaseEnable", count).text, caseEnable);
    }
    stream.U32Field("StackCount", count);
}

void readCallStack(cSaveStream& stream) {
    scriptAbortFlag = 1;
    cSaveStack& stack = gScriptState.stack;
    stack.clear();
    uint32_t count = 0;
    stream.U32Field("StackCount", count);
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
        stream.I32Field(RecordName("Line", i).text, node.Line);
        stream.I32Field(RecordName("CaseID", i).text, node.CaseID);
        stream.U8Field(RecordName("CaseEnable", i).text, node.CaseEnable);
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

void beginPlayTime() { gScriptState.playTimeBase = currentTimeMs(); }

void resetScriptState() {
    gChapterDate.clear();
    gChapterName.clear();
    gScriptState.storedMinutes = 0;
    beginPlayTime();
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
    // A loaded display mode first: the caption and the rebuilt levels see it.
    const bool modeRestored = gScriptState.restoredMode != kNoMode;
    if (modeRestored) applyRestoredMode();
    appUpdateCaption();
    cSaveStack& stack = gScriptState.stack;
    if (!stack.empty()) {
        cScript* level = &gScriptState.root;
        for (const cSaveNode& node : stack) {
            level->Load(node.name.c_str());
            level->Restore(node.Line, node.CaseID, node.CaseEnable);
            level = level->AddChild();
        }
        if (!modeRestored) applyRestoredMode();  // the current mode's layout anew
        presentNewPage();
        stack.clear();
        return true;
    }
    gChapterDate.clear();
    gChapterName.clear();
    if (!gScriptState.root.Load("start.txt")) return false;
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
    return gScriptState.storedMinutes + elapsedMs(gScriptState.playTimeBase, currentTimeMs()) / kMsPerMinute;
}

void serializeScriptState(cSaveStream& stream) {
    stream.StringField("ChapterDate", gChapterDate);
    stream.StringField("ChapterName", gChapterName);
    bankPlayTime();
    stream.U32Field("PlayTime", gScriptState.storedMinutes);
    uint8_t mode = MsgWindowMode;
    if (stream.U8Field("ScriptMode", mode) && !stream.IsWriting() && mode <= kModeLast)
        gScriptState.restoredMode = mode;
    if (stream.IsWriting()) writeCallStack(stream);
    else readCallStack(stream);
}
