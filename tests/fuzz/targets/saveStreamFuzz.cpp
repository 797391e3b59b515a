// Save records: an input is the contents of a save stream (a slot file's records, deciphered).
// Every field is read the ways the load code reads it, sections are opened a few levels deep,
// and the section "Data_Flags" goes through the local variables' reader. The "Data_Script"
// section's own reader sits with the interpreter (platform code); its records are read here
// through the container by the names and sizes that reader uses.
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "files/saveStream.h"
#include "scenario/variableStore.h"
#include "fuzzInput.h"

namespace {
const char* const kNames[] = {"Data_Script", "Data_Flags", "Data_Sound", "Flags", "ChapterDate",
                              "ChapterName", "PlayTime",   "ScriptMode", "StackCount", "A", ""};
const char* const kLevelStems[] = {"Name", "Line", "CaseID", "CaseEnable"};

uint32_t u32At(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::string upperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

struct Record {
    std::string key;  // the name up to its first NUL
    size_t data;      // offset of the data
    uint32_t size;
};

// The records of a buffer as the layout states them, up to the first damaged one (a name length
// of 0 or above 2^20, or a name, size or data running past the end); of several records whose
// names are equal in any letter case, the first.
std::vector<Record> expectedRecords(const uint8_t* b, size_t total) {
    std::vector<Record> records;
    std::map<std::string, bool> seen;
    size_t p = 0;
    while (total - p >= 4) {
        const uint32_t length = u32At(b + p);
        if (length == 0 || length > 0x100000 || total - p - 4 < length) break;
        const size_t sizeField = p + 4 + length;
        if (total - sizeField < 4) break;
        const uint32_t size = u32At(b + sizeField);
        if (total - sizeField - 4 < size) break;
        const std::string key(reinterpret_cast<const char*>(b + p + 4),
                              strnlen(reinterpret_cast<const char*>(b + p + 4), length));
        if (!seen[upperAscii(key)]) {
            seen[upperAscii(key)] = true;
            records.push_back({key, sizeField + 4, size});
        }
        p = sizeField + 4 + size;
    }
    return records;
}

// Every record the layout gives is found, read whole, as text and as a section.
void checkRecords(cSaveStream& r) {
    const std::vector<Record> records = expectedRecords(r.Data(), r.Size());
    FUZZ_CHECK(r.FieldCount() == records.size());
    for (const Record& record : records) {
        const uint8_t* data = r.Data() + record.data;
        std::vector<uint8_t> bytes(record.size + 1, 0xA5);
        FUZZ_CHECK(r.ReadField(record.key.c_str(), bytes.data(), record.size));
        FUZZ_CHECK(std::memcmp(bytes.data(), data, record.size) == 0 && bytes[record.size] == 0xA5);
        FUZZ_CHECK(!r.ReadField(record.key.c_str(), bytes.data(), record.size + size_t(1)));
        vstring text;
        FUZZ_CHECK(r.StringField(record.key.c_str(), text));
        const std::string expected =
            record.size > 0x100000
                ? std::string()
                : std::string(reinterpret_cast<const char*>(data),
                              strnlen(reinterpret_cast<const char*>(data), record.size));
        FUZZ_CHECK(expected == text.c_str());
        // The typed fields read a record of exactly their size, little-endian, and otherwise keep
        // the value they had.
        uint8_t u8 = 0x5A;
        uint32_t u32 = 0xA5A5A5A5u;
        int32_t i32 = -7;
        FUZZ_CHECK(r.U8Field(record.key.c_str(), u8) == (record.size == 1));
        FUZZ_CHECK(r.U32Field(record.key.c_str(), u32) == (record.size == 4));
        FUZZ_CHECK(r.I32Field(record.key.c_str(), i32) == (record.size == 4));
        FUZZ_CHECK(u8 == (record.size == 1 ? data[0] : 0x5A));
        FUZZ_CHECK(u32 == (record.size == 4 ? u32At(data) : 0xA5A5A5A5u));
        FUZZ_CHECK(i32 == (record.size == 4 ? static_cast<int32_t>(u32At(data)) : -7));
        cSaveStream nested;
        FUZZ_CHECK(r.SectionField(record.key.c_str(), nested));
        FUZZ_CHECK(nested.Size() == record.size &&
                   (record.size == 0 || std::memcmp(nested.Data(), data, record.size) == 0));
    }
}

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
            checkRecords(nested);
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
    checkRecords(r);
    exercise(r, 0);
    readFlags(r);
    // A stream rebuilt from its own buffer finds the same records.
    cSaveStream copy(r.Data(), r.Size());
    FUZZ_CHECK(copy.FieldCount() == r.FieldCount());
    resetVariableStore();
    return 0;
}
