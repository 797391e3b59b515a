// Archive directories: an input is a whole archive file. Its directory is read record by record,
// then merged into the index twice under two archive names, as a scan of two copies would.
#include <cstring>
#include <vector>

#include "files/archiveFormat.h"
#include "files/archiveIndex.h"
#include "fuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gArchiveIndex.clear();
    MemorySource in(data, size);
    ArchiveHeader header;
    uint32_t delivered = 0;
    std::vector<ArchiveRecord> records;
    const bool whole = readArchiveDirectory(in, size, header, [&](const ArchiveRecord& record) {
        FUZZ_CHECK(uint64_t(record.offset) + record.size <= size);
        FUZZ_CHECK(record.name.size() <= kArchiveMaxName);
        ++delivered;
        if (!record.name.empty()) records.push_back(record);
    });
    FUZZ_CHECK(delivered <= header.count);
    if (whole) {
        FUZZ_CHECK(header.version == kArchiveVersion);
        FUZZ_CHECK(std::memcmp(data, kArchiveMagic, sizeof kArchiveMagic) == 0);
    }

    // The records written again by the packer's writer read back the same, at the same places.
    std::vector<uint8_t> rewritten;
    appendArchiveHeader(rewritten, header.priority, static_cast<uint32_t>(records.size()));
    KeystreamState names;
    cipherSeed(names, kArchiveSeed);
    for (const ArchiveRecord& r : records)
        appendArchiveRecord(rewritten, names, r.key, r.name.c_str(), r.name.size(), r.offset, r.size);
    if (rewritten.size() < size) rewritten.resize(size);
    MemorySource again(rewritten.data(), rewritten.size());
    ArchiveHeader header2;
    size_t at = 0;
    FUZZ_CHECK(readArchiveDirectory(again, rewritten.size(), header2, [&](const ArchiveRecord& r) {
        FUZZ_CHECK(at < records.size());
        const ArchiveRecord& was = records[at++];
        FUZZ_CHECK(r.key == was.key && r.offset == was.offset && r.size == was.size);
        FUZZ_CHECK(r.name == was.name);
    }));
    FUZZ_CHECK(at == records.size() && header2.priority == header.priority);

    // The same directory twice at one priority: the archive read later holds every entry.
    MemorySource first(data, size), second(data, size);
    FUZZ_CHECK(indexArchive(first, size, "first.dat") == whole);
    FUZZ_CHECK(indexArchive(second, size, "second.dat") == whole);
    FUZZ_CHECK(gArchiveIndex.size() <= delivered);
    for (const auto& [name, node] : gArchiveIndex) {
        FUZZ_CHECK(!name.empty());
        FUZZ_CHECK(findArchiveEntry(name.c_str()) == &node);
        FUZZ_CHECK(std::strcmp(node.archive.c_str(), "second.dat") == 0);
        FUZZ_CHECK(node.priority == header.priority);
        FUZZ_CHECK(uint64_t(node.offset) + node.size <= size);
        // Stored lower-cased, found in any letter case.
        for (const char* p = name.c_str(); *p; ++p) FUZZ_CHECK(!(*p >= 'A' && *p <= 'Z'));
    }
    gArchiveIndex.clear();
    return 0;
}
