// The data archive layout, shared by the engine's index reader and the packer tool.
//
//   offset 0   8 bytes  magic "MORVPACK"
//          8   u32      version, 203
//         12   u32      priority of the archive's entries
//         16   u32      entry count N
//         20   N records: u8 key, u8 name length L (1 to 255), L name bytes enciphered,
//                         u32 data offset from the file's start, u32 data size
// Integers are little-endian. All names of one archive are enciphered by one keystream seeded
// with the archive seed, running on from each name into the next. An entry's data is enciphered
// by a keystream seeded with the archive seed plus its key byte, unless the key byte is 0.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "files/keystream.h"
#include "base/vstring.h"

constexpr char kArchiveMagic[8] = {'M', 'O', 'R', 'V', 'P', 'A', 'C', 'K'};
constexpr uint32_t kArchiveVersion = 203;
constexpr size_t kArchiveHeaderSize = 20;
constexpr size_t kArchiveMaxName = 255;

// Sequential reads from an archive file: exactly n bytes, or false.
class ByteSource {
public:
    virtual bool Read(void* buffer, size_t n) = 0;

protected:
    ~ByteSource() = default;
};

// A ByteSource over bytes in memory.
class MemorySource final : public ByteSource {
public:
    MemorySource(const void* data, size_t size)
        : m_data(static_cast<const uint8_t*>(data)), m_size(size) {}
    bool Read(void* buffer, size_t n) override;

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

struct ArchiveHeader {
    uint32_t version = 0;
    uint32_t priority = 0;
    uint32_t count = 0;
};

struct ArchiveRecord {
    uint8_t key = 0;
    vstring name;  // deciphered, as stored (not lower-cased)
    uint32_t offset = 0;
    uint32_t size = 0;
};

// Reads an archive's header and directory from its start. Each record read whole whose data lies
// inside the file (offset + size <= fileSize) goes to onRecord, in directory order; one pointing
// past the end is dropped. False for a bad magic or version, or when the directory is cut short or
// holds a name length of 0; the records before the damage have been delivered.
bool readArchiveDirectory(ByteSource& in, uint64_t fileSize, ArchiveHeader& header,
                          const std::function<void(const ArchiveRecord&)>& onRecord);

// Writing an archive: the header, then the records (names enciphered in order through one
// stream seeded with cipherSeed(names, kArchiveSeed)), then the data.
void appendArchiveHeader(std::vector<uint8_t>& out, uint32_t priority, uint32_t count);
// The name must be 1 to 255 bytes.
void appendArchiveRecord(std::vector<uint8_t>& out, KeystreamState& names, uint8_t key,
                         const char* name, size_t nameLength, uint32_t offset, uint32_t size);
// Size of a record with a name of nameLength bytes.
constexpr size_t archiveRecordSize(size_t nameLength) { return 10 + nameLength; }
// Seeds the stream of an entry's data (key 0: the data is stored plain, no stream is used).
inline void seedEntryStream(KeystreamState& state, uint8_t key) {
    cipherSeed(state, kArchiveSeed + key);
}

