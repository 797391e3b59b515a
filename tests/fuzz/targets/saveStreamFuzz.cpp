// Save records: an input is the contents of a save stream (a slot file's records, deciphered).
// Every field is read the ways the load code reads it, sections are opened a few levels deep,
// and the section "Data_Flags" goes through the local variables' reader. The "Data_Script"
// section's own reader sits with the interpreter (platform code); its records are read here
// through the container by the names and sizes that reader uses.
#include <cstdio>
#include <cstring>
#include <string>

#include "files/saveStream.h"
#include "scenario/variableStore.h"
#include "fuzzInput.h"

namespace {
const char* const kNames[] = {"Data_Script", "Data_Flags", "Data_Sound", "Flags", "ChapterDate",
                              "ChapterName", "PlayTime",   "ScriptMode", "StackCount", "A", ""};
const char* const kLevelStems[] = {"Name", "Line", "CaseID", "CaseEnable"};

void readAll(cSaveStream& r, const char* name) {
    FUZZ_CHECK(r.mode == kSaveReading);
    uint8_t small[16];
    for (size_t n : {0, 1, 4, 16}) {
        const bool found = r.ReadField(name, small, n);
        if (found) FUZZ_CHECK(r.FindField(name) != nullptr);
    }
    vstring text("old");
    if (r.StringField(name, text)) {
        FUZZ_CHECK(std::strlen(text.c_str()) == text.size());
        FUZZ_CHECK(text.size() <= r.Size());
    } else {
        FUZZ_CHECK(text.empty());
    }
}

void exercise(cSaveStream& r, int depth) {
    FUZZ_CHECK(r.FieldCount() <= r.Size() / 9);
    for (const char* name : kNames) readAll(r, name);
    // The call-stack records of "Data_Script".
    for (uint32_t i = 0; i < 4; ++i) {
        for (const char* stem : kLevelStems) {
            char name[32];
            std::snprintf(name, sizeof name, "%s%u", stem, i);
            readAll(r, name);
        }
    }
    uint8_t bytes[8];
    FUZZ_CHECK(r.ReadAt(bytes, sizeof bytes, r.Size()) == 0);
    FUZZ_CHECK(r.ReadAt(bytes, 0, r.Size()) == 0);
    if (r.Size() >= sizeof bytes) FUZZ_CHECK(r.ReadAt(bytes, sizeof bytes, 0) == sizeof bytes);
    if (depth >= 3) return;
    for (const char* name : kNames) {
        cSaveStream nested;
        if (r.SectionField(name, nested)) {
            FUZZ_CHECK(nested.Size() + 8 <= r.Size());
            exercise(nested, depth + 1);
        } else {
            FUZZ_CHECK(nested.mode == kSaveReading && nested.Size() == 0);
        }
    }
}

// The local variables from "Data_Flags": replaced only by a record of exactly 4000 bytes.
void readFlags(cSaveStream& master) {
    resetVariableStore();
    cSaveStream flags;
    const bool section = master.SectionField("Data_Flags", flags);
    uint8_t expected[kVariableTableBytes] = {};
    const bool whole = section && flags.ReadField("Flags", expected, sizeof expected);
    serializeLocalVariables(flags);
    uint8_t now[kVariableTableBytes];
    encodeVariableTable(VariableKind::Local, now);
    FUZZ_CHECK(std::memcmp(now, expected, sizeof now) == 0);
    if (!whole) {
        for (int i = 0; i < kVariableCount; ++i) FUZZ_CHECK(variableValues(VariableKind::Local)[i] == 0);
    }
    // What was read writes back the same record.
    cSaveStream out;
    serializeLocalVariables(out);
    cSaveStream back(out.Data(), out.Size());
    uint8_t written[kVariableTableBytes];
    FUZZ_CHECK(back.ReadField("Flags", written, sizeof written));
    FUZZ_CHECK(std::memcmp(written, now, sizeof now) == 0);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cSaveStream r(data, size);
    FUZZ_CHECK(r.Size() == size);
    exercise(r, 0);
    readFlags(r);
    // A stream rebuilt from its own buffer finds the same records.
    cSaveStream copy(r.Data(), r.Size());
    FUZZ_CHECK(copy.FieldCount() == r.FieldCount());
    resetVariableStore();
    return 0;
}
