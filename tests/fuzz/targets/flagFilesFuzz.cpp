// The two variable files of the save folder: an input is a length (two bytes, little-endian), the
// deciphered contents of "flagdata.000" (that many bytes of what follows) and of "flagdata.001"
// (the rest). They are stored enciphered and read by the start-up reader: each table takes the
// file's first 4000 bytes as 1000 little-endian values, zeros past a short file's end.
#include <cstring>
#include <vector>

#include "files/keystream.h"
#include "scenario/variables.h"
#include "fuzzFiles.h"

namespace {
void store(const std::string& path, const uint8_t* bytes, size_t size) {
    std::vector<uint8_t> stored(bytes, bytes + size);
    KeystreamState stream;
    cipherSeed(stream, kSaveSeed);
    decipherBytes(stored.data(), stored.size(), stream);
    FuzzFolder::write(path, stored.data(), stored.size());
}

void expectTable(VariableKind kind, const uint8_t* bytes, size_t size) {
    uint8_t table[kVariableTableBytes] = {};
    std::memcpy(table, bytes, size < sizeof table ? size : sizeof table);
    uint8_t now[kVariableTableBytes];
    encodeVariableTable(kind, now);
    FUZZ_CHECK(std::memcmp(now, table, sizeof table) == 0);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFolder& folder = FuzzFolder::get();
    FuzzInput input(data, size);
    size_t first = input.Byte();
    first |= size_t(input.Byte()) << 8;
    if (first > input.Left()) first = input.Left();
    const uint8_t* global = input.Rest();
    const uint8_t* seen = global + first;
    const size_t seenSize = input.Left() - first;

    store(folder.save() + "flagdata.000", global, first);
    store(folder.save() + "flagdata.001", seen, seenSize);
    resetVariableStore();
    variableValues(VariableKind::Local)[5] = 77;
    FUZZ_CHECK(initFlags(nullptr));
    expectTable(VariableKind::Global, global, first);
    expectTable(VariableKind::Seen, seen, seenSize);
    FUZZ_CHECK(variableValues(VariableKind::Local)[5] == 77);
    setVariableTableWriter(nullptr);
    return 0;
}
