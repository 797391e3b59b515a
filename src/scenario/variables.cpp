#include "scenario/variables.h"

#include <cstdio>
#include <cstring>

#include "config/registry.h"
#include "files/fileNames.h"
#include "files/saveFile.h"

namespace {

const char* fileNameOf(VariableKind kind) {
    return kind == VariableKind::Global ? "flagdata.000" : "flagdata.001";
}

void tableChanged(VariableKind kind) { writeVariableFile(kind); }

// The table's values from its file; bytes past a short file's end read as 0.
void readVariableFile(VariableKind kind) {
    cSaveFile file;
    if (!file.OpenRead(fileNameOf(kind))) return;
    uint32_t size = file.file.Size();
    if (size > kVariableTableBytes) size = kVariableTableBytes;
    uint8_t bytes[kVariableTableBytes] = {};
    if (size > 0 && !file.Read(bytes, size)) std::memset(bytes, 0, sizeof bytes);
    file.Close();
    decodeVariableTable(kind, bytes);
}

}  // namespace

bool writeVariableFile(VariableKind kind) {
    if (kind == VariableKind::Local) return false;
    uint8_t bytes[kVariableTableBytes];
    encodeVariableTable(kind, bytes);
    return replaceSaveFile(fileNameOf(kind),
                           [&bytes](cSaveFile& file) { return file.Write(bytes, sizeof bytes); });
}

bool initFlags(const char*) {
    mSystemParam::cSection section;
    mSystemParam::getSection(section, "Define", "Flag");
    static const struct {
        VariableKind kind;
        const char* format;
    } kTables[] = {
        {VariableKind::Local, "L%03d"},
        {VariableKind::Global, "G%03d"},
        {VariableKind::Seen, "F%03d"},
    };
    for (const auto& t : kTables) {
        for (int i = 0; i < kVariableCount; ++i) {
            char key[8];
            std::snprintf(key, sizeof key, t.format, i);
            setVariableName(t.kind, i, section.GetString(key, ""));
        }
    }
    std::memset(variableValues(VariableKind::Global), 0, kVariableTableBytes);
    std::memset(variableValues(VariableKind::Seen), 0, kVariableTableBytes);
    readVariableFile(VariableKind::Global);
    readVariableFile(VariableKind::Seen);
    setVariableTableWriter(tableChanged);
    return true;
}
