#include "presentation/backlog.h"

#include <cstdio>

#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "files/saveStream.h"

namespace mLogBox {
namespace {

struct BacklogState {
    cLogNode gLogNodes[kLogSize];
    int32_t gLogWritePos = 0;
    int32_t gLogMarkPos = 0;
    vstring gPendingVoice;
};
BacklogState gLog MODULE_OBJECT(kOrderBacklog);
const cModuleReset kReset(kOrderBacklog, [] { gLog = BacklogState(); });

int32_t ringIndex(int32_t back) { return (gLog.gLogWritePos + kLogSize - back) % kLogSize; }

}  // namespace

void Clear() {
    for (cLogNode& node : gLog.gLogNodes) node = cLogNode();
    gLog.gLogWritePos = 0;
    gLog.gLogMarkPos = 0;
}

void MarkPosition() { gLog.gLogMarkPos = gLog.gLogWritePos; }

void AddEntry(const char* name, const char* text) {
    if (!name || !text) return;
    cLogNode& node = gLog.gLogNodes[gLog.gLogWritePos];
    node.name = name;
    node.text = text;
    node.voice = gLog.gPendingVoice;
    gLog.gLogWritePos = (gLog.gLogWritePos + 1) % kLogSize;
    gLog.gPendingVoice.clear();
}

void SetPendingVoice(const char* voicePath) {
    if (voicePath) gLog.gPendingVoice = voicePath;
}

bool GetEntry(int32_t back, vstring& name, vstring& text, vstring& voice) {
    const cLogNode* node = entryBehind(back);
    if (!node) return false;
    name = node->name;
    text = node->text;
    voice = node->voice;
    return true;
}

const cLogNode* entryBehind(int32_t back) {
    if (back < 0 || back >= kLogSize) return nullptr;
    return &gLog.gLogNodes[ringIndex(back)];
}

void Serialize(cSaveStream& stream) {
    uint32_t mark = static_cast<uint32_t>(gLog.gLogMarkPos);
    // A position outside the ring from a damaged save counts as absent.
    if (stream.U32Field("LastLogPos", mark) && !stream.IsWriting() && mark < kLogSize)
        gLog.gLogMarkPos = static_cast<int32_t>(mark);
    if (!stream.IsWriting()) gLog.gLogWritePos = gLog.gLogMarkPos;
    for (int32_t i = 0; i < kLogSize; ++i) {
        cLogNode& node = gLog.gLogNodes[i];
        char name[16];
        std::snprintf(name, sizeof name, "Text%d", i);
        stream.StringField(name, node.text);
        std::snprintf(name, sizeof name, "Name%d", i);
        stream.StringField(name, node.name);
        std::snprintf(name, sizeof name, "Voice%d", i);
        stream.StringField(name, node.voice);
    }
}

int32_t writePosition() { return gLog.gLogWritePos; }
int32_t markPosition() { return gLog.gLogMarkPos; }
const char* pendingVoice() { return gLog.gPendingVoice.c_str(); }

}  // namespace mLogBox
