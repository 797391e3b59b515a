#include "scenario/variableStore.h"

#include <cstring>

#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "base/uiText.h"
#include "base/debugMessage.h"
#include "files/saveStream.h"
#include "base/vstring.h"

namespace {

struct VariableTables {
    vstring names[3][kVariableCount];
    int32_t values[3][kVariableCount] = {};
};

// The three name tables, built empty before the entry point and filled by initFlags.
VariableTables gVariables MODULE_OBJECT(kOrderVariableNames);
VariableTableWriter gTableWriter = nullptr;
const cModuleReset kReset(kOrderVariableNames, resetVariableStore);

int table(VariableKind kind) { return static_cast<int>(kind); }

bool nameIs(VariableKind kind, int i, const char* text) {
    const vstring& name = gVariables.names[table(kind)][i];
    return !name.empty() && std::strcmp(name.c_str(), text) == 0;
}

// The leading decimal digits of a text, saturating instead of overflowing.
int32_t leadingDigits(const char* text) {
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > INT32_MAX) value = INT32_MAX;
    }
    return static_cast<int32_t>(value);
}

void tableChanged(VariableKind kind) {
    if (gTableWriter) gTableWriter(kind);
}

}  // namespace

int32_t getVariable(const char* text) {
    if (!text) text = "";
    if (*text >= '0' && *text <= '9') return leadingDigits(text);
    if (*text) {
        for (int i = 0; i < kVariableCount; ++i) {
            if (nameIs(VariableKind::Local, i, text)) return gVariables.values[0][i];
            if (nameIs(VariableKind::Global, i, text)) return gVariables.values[1][i];
            if (nameIs(VariableKind::Seen, i, text)) return gVariables.values[2][i];
        }
    }
    debugMessage(uiText(UiText::DiagUnknownVariable), text);
    return 0;
}

void setVariable(const char* name, int32_t value) {
    if (!name) name = "";
    if (*name) {
        for (int i = 0; i < kVariableCount; ++i) {
            if (nameIs(VariableKind::Local, i, name)) {
                gVariables.values[0][i] = value;
                return;
            }
            if (nameIs(VariableKind::Global, i, name)) {
                gVariables.values[1][i] = value;
                tableChanged(VariableKind::Global);
                return;
            }
        }
    }
    debugMessage(uiText(UiText::DiagUndefinedVariable), name);
}

void setSeenFlag(const char* name) {
    if (!name || !*name) return;
    for (int i = 0; i < kVariableCount; ++i) {
        if (nameIs(VariableKind::Seen, i, name)) {
            gVariables.values[2][i] = 1;
            tableChanged(VariableKind::Seen);
            return;
        }
    }
}

void clearLocalVariables() {
    std::memset(gVariables.values[0], 0, sizeof gVariables.values[0]);
}

void setVariableName(VariableKind kind, int index, const char* name) {
    if (index < 0 || index >= kVariableCount) return;
    gVariables.names[table(kind)][index] = name;
}

const char* variableName(VariableKind kind, int index) {
    if (index < 0 || index >= kVariableCount) return "";
    return gVariables.names[table(kind)][index].c_str();
}

void resetVariableStore() {
    for (auto& names : gVariables.names)
        for (vstring& name : names) name.clear();
    std::memset(gVariables.values, 0, sizeof gVariables.values);
}

int32_t* variableValues(VariableKind kind) { return gVariables.values[table(kind)]; }

void encodeVariableTable(VariableKind kind, uint8_t out[kVariableTableBytes]) {
    const int32_t* values = gVariables.values[table(kind)];
    for (int i = 0; i < kVariableCount; ++i) {
        uint32_t v = static_cast<uint32_t>(values[i]);
        for (int b = 0; b < 4; ++b) out[i * 4 + b] = static_cast<uint8_t>(v >> (8 * b));
    }
}

void decodeVariableTable(VariableKind kind, const uint8_t in[kVariableTableBytes]) {
    int32_t* values = gVariables.values[table(kind)];
    for (int i = 0; i < kVariableCount; ++i) {
        uint32_t v = 0;
        for (int b = 0; b < 4; ++b) v |= static_cast<uint32_t>(in[i * 4 + b]) << (8 * b);
        values[i] = static_cast<int32_t>(v);
    }
}

void setVariableTableWriter(VariableTableWriter writer) { gTableWriter = writer; }

void serializeLocalVariables(cSaveStream& stream) {
    uint8_t bytes[kVariableTableBytes];
    encodeVariableTable(VariableKind::Local, bytes);
    if (stream.BytesField("Flags", bytes, sizeof bytes) && !stream.IsWriting())
        decodeVariableTable(VariableKind::Local, bytes);
}
