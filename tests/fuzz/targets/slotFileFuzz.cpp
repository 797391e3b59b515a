// Save-slot files: an input is a whole slot file (the 25120-byte header, then the master stream).
// The check of a whole file is compared with a reading of the layout made here, and a file that
// passes is one whose every section and every record of a section that is read the stream reader
// finds: nothing in a file the program accepts is left unread. The sections read are the full
// configuration's, of which the five shared ones are required.
#include <cstring>
#include <string>
#include <vector>

#include "files/saveStream.h"
#include "presentation/screens/saveSlots.h"
#include "fuzzInput.h"

namespace {
const char* const kRead[] = {"Data_Script", "Data_Sound", "Data_Anime", "Data_Flags", "Data_Log",
                             "Data_Flow"};
constexpr size_t kReadCount = sizeof kRead / sizeof kRead[0];
constexpr size_t kRequiredCount = 5;

uint32_t u32At(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

struct Record {
    std::string name;  // all its bytes
    size_t data;
    uint32_t size;
};

// The records from the start to exactly the end, with names of 1 byte to 1 MiB; false otherwise.
bool walk(const uint8_t* b, size_t total, std::vector<Record>& out) {
    size_t p = 0;
    while (p < total) {
        if (total - p < 4) return false;
        const uint32_t length = u32At(b + p);
        if (length == 0 || length > 0x100000 || total - p - 4 < uint64_t(length) + 4) return false;
        const uint32_t size = u32At(b + p + 4 + length);
        const size_t data = p + 8 + length;
        if (total - data < size) return false;
        out.push_back({std::string(reinterpret_cast<const char*>(b + p + 4), length), data, size});
        p = data + size;
    }
    return true;
}

bool sameNoCase(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The stream's key of a name: up to its first NUL.
std::string key(const std::string& name) { return std::string(name.c_str()); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Small inputs stand for the body; the header is zeros (the check does not read it).
    std::vector<uint8_t> file(sizeof(SaveSlotHeader), 0);
    file.insert(file.end(), data, data + size);
    const uint8_t* body = file.data() + sizeof(SaveSlotHeader);
    const size_t bodySize = size;

    std::vector<Record> sections;
    bool expected = walk(body, bodySize, sections);
    bool found[kReadCount] = {};
    for (const Record& s : sections) {
        bool read = false;
        for (size_t i = 0; i < kReadCount; ++i)
            if (sameNoCase(key(s.name), kRead[i])) found[i] = read = true;
        std::vector<Record> inner;
        if (read) expected = expected && walk(body + s.data, s.size, inner);
    }
    for (size_t i = 0; i < kRequiredCount; ++i) expected = expected && found[i];
    const bool loadable = slotFileLoadable(file.data(), file.size(), kRead, kReadCount, kRequiredCount);
    FUZZ_CHECK(loadable == expected);
    FUZZ_CHECK(!slotFileLoadable(file.data(), sizeof(SaveSlotHeader) - 1, kRead, kReadCount,
                                 kRequiredCount));
    if (!loadable) return 0;

    // What the loader reads: every section by its key, and every record of each that is read.
    cSaveStream master(body, bodySize);
    for (const Record& s : sections) {
        FUZZ_CHECK(master.FindField(key(s.name).c_str()) != nullptr);
        cSaveStream nested;
        FUZZ_CHECK(master.SectionField(key(s.name).c_str(), nested));
        // An earlier record of the same key is the one read.
        if (nested.Size() != s.size ||
            (s.size != 0 && std::memcmp(nested.Data(), body + s.data, s.size) != 0))
            continue;
        bool read = false;
        for (const char* name : kRead) read = read || sameNoCase(key(s.name), name);
        if (!read) continue;
        std::vector<Record> inner;
        walk(body + s.data, s.size, inner);
        for (const Record& r : inner) FUZZ_CHECK(nested.FindField(key(r.name).c_str()) != nullptr);
    }
    for (size_t i = 0; i < kRequiredCount; ++i) {
        cSaveStream nested;
        FUZZ_CHECK(master.SectionField(kRead[i], nested));
    }
    return 0;
}
