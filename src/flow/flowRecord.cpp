#include "flow/flowRecord.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/caseInsensitive.h"
#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "files/saveStream.h"
#include "files/textBuf.h"

namespace {
FlowRecord gFlow MODULE_OBJECT(kOrderFlowRecord);
const cModuleReset kReset(kOrderFlowRecord, [] { gFlow = FlowRecord(); });

constexpr size_t kMaxLinkKey = 1023;

vstring linkKey(const char* from, const char* to) {
    char key[kMaxLinkKey + 1];
    std::snprintf(key, sizeof key, "%s\t%s", from ? from : "", to ? to : "");
    return vstring(key);
}

bool holds(const cFlowSet& set, const char* name) { return set.count(vstring(name ? name : "")) != 0; }

// The index of an entry record ("AN" and a decimal index without leading zeros, the two letters
// in any case as every record name), or false for any other name.
bool entryIndex(const char* record, const char* stem, uint64_t& index) {
    if (std::strlen(record) < 3 || vs_compare(vstring(record, 2).c_str(), stem) != 0) return false;
    const char* digits = record + 2;
    if (digits[0] == '0' && digits[1]) return false;
    index = 0;
    for (const char* p = digits; *p; ++p) {
        if (*p < '0' || *p > '9') return false;
        index = index * 10 + static_cast<uint64_t>(*p - '0');
        if (index > UINT32_MAX) return false;
    }
    return true;
}

// Reading one set: the entries "<stem>0" to "<stem>count-1", an absent one read as "". Found from
// the records present, so a damaged count of four billion costs nothing.
void readSet(cSaveStream& stream, const char* stem, uint32_t count, cFlowSet& set) {
    uint64_t present = 0;
    for (const vstring& record : stream.FieldNames()) {
        uint64_t index;
        if (!entryIndex(record.c_str(), stem, index) || index >= count) continue;
        vstring entry;
        stream.StringField(record.c_str(), entry);
        set.insert(entry);
        ++present;
    }
    if (present < count) set.insert(vstring(""));
}

void writeSet(cSaveStream& stream, const char* stem, const cFlowSet& set) {
    uint32_t i = 0;
    for (const vstring& entry : set) {
        char name[16];
        std::snprintf(name, sizeof name, "%s%u", stem, i++);
        vstring copy = entry;
        stream.StringField(name, copy);
    }
}
}  // namespace

const FlowRecord& flowRecord() { return gFlow; }

bool loadFlowChecklist() {
    cTextBuf list;
    if (list.Load("flow", "checklist.txt")) {
        for (size_t i = 0; i < list.LineCount(); ++i)
            if (*list.Line(i)) gFlow.flowChecklist.insert(vstring(list.Line(i)));
    }
    return true;
}

void flowVisit(const char* name) {
    if (!name || !*name || !holds(gFlow.flowChecklist, name)) return;
    gFlow.VN.insert(vstring(name));
    gFlow.AN.insert(vstring(name));
    if (!gFlow.LastNode.empty()) {
        vstring key = linkKey(gFlow.LastNode.c_str(), name);
        gFlow.VL.insert(key);
        gFlow.AL.insert(key);
    }
    gFlow.LastNode = name;
}

void flowResetAll() {
    gFlow.LastNode.clear();
    gFlow.VN.clear();
    gFlow.VL.clear();
    gFlow.AN.clear();
    gFlow.AL.clear();
}

void flowResetRoute() {
    gFlow.LastNode.clear();
    gFlow.AN.clear();
    gFlow.AL.clear();
}

uint8_t flowNodeState(const char* name) {
    if (equalsIgnoringCase(gFlow.LastNode.c_str(), name)) return 3;
    if (holds(gFlow.AN, name)) return 2;
    if (holds(gFlow.VN, name)) return 1;
    return 0;
}

uint8_t flowLinkState(const char* from, const char* to) {
    vstring key = linkKey(from, to);
    if (gFlow.AL.count(key)) return 2;
    if (gFlow.VL.count(key)) return 1;
    return 0;
}

void setFlowChapter(int64_t x, int64_t y, const char* caption) {
    gFlow.flowChapters[{x, y}] = vstring(caption ? caption : "");
}

void getFlowChapter(int64_t x, int64_t y, vstring& caption) {
    auto it = gFlow.flowChapters.find({x, y});
    caption = it != gFlow.flowChapters.end() ? it->second : vstring();
}

void clearFlowChapters() { gFlow.flowChapters.clear(); }

void serializeFlowData(cSaveStream& stream) {
    stream.StringField("LastNode", gFlow.LastNode);
    static const char* const kCounts[] = {"AN_Count", "AL_Count", "VN_Count", "VL_Count"};
    static const char* const kStems[] = {"AN", "AL", "VN", "VL"};
    cFlowSet* const sets[] = {&gFlow.AN, &gFlow.AL, &gFlow.VN, &gFlow.VL};
    if (stream.IsWriting()) {
        for (int i = 0; i < 4; ++i) {
            uint32_t count = static_cast<uint32_t>(sets[i]->size());
            stream.U32Field(kCounts[i], count);
        }
        for (int i = 0; i < 4; ++i) writeSet(stream, kStems[i], *sets[i]);
        return;
    }
    uint32_t counts[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        sets[i]->clear();
        stream.U32Field(kCounts[i], counts[i]);
    }
    for (int i = 0; i < 4; ++i) readSet(stream, kStems[i], counts[i], *sets[i]);
}
