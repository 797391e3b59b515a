#include "files/archiveFormat.h"

#include <cstring>

#include "base/debugMessage.h"
#include "base/littleEndian.h"

bool MemorySource::Read(void* buffer, size_t n) {
    if (n > m_size - m_at) return false;
    if (n) std::memcpy(buffer, m_data + m_at, n);
    m_at += n;
    return true;
}

bool readArchiveDirectory(ByteSource& in, uint64_t fileSize, ArchiveHeader& header,
                          const std::function<void(const ArchiveRecord&)>& onRecord) {
    header = ArchiveHeader();
    uint8_t head[kArchiveHeaderSize];
    if (!in.Read(head, sizeof head)) return false;
    if (std::memcmp(head, kArchiveMagic, sizeof kArchiveMagic) != 0) return false;
    header.version = getLE32(head + 8);
    if (header.version != kArchiveVersion) return false;
    header.priority = getLE32(head + 12);
    header.count = getLE32(head + 16);

    KeystreamState names;
    cipherSeed(names, kArchiveSeed);
    // Every record takes at least 10 bytes, so a lying count ends at the file's end.
    for (uint32_t i = 0; i < header.count; ++i) {
        uint8_t keyAndLength[2];
        if (!in.Read(keyAndLength, 2) || keyAndLength[1] == 0) return false;
        char name[kArchiveMaxName + 1];
        size_t length = keyAndLength[1];
        if (!in.Read(name, length)) return false;
        decipherBytes(name, length, names);
        name[length] = 0;
        uint8_t place[8];
        if (!in.Read(place, sizeof place)) return false;

        ArchiveRecord record;
        record.key = keyAndLength[0];
        record.name.Assign(name, length);
        record.offset = getLE32(place);
        record.size = getLE32(place + 4);
        if (uint64_t(record.offset) + record.size > fileSize) {
            debugMessage("archive entry %s lies outside its archive\n", record.name.c_str());
            continue;
        }
        onRecord(record);
    }
    return true;
}

void appendArchiveHeader(std::vector<uint8_t>& out, uint32_t priority, uint32_t count) {
    out.insert(out.end(), kArchiveMagic, kArchiveMagic + sizeof kArchiveMagic);
    appendLE32(out, kArchiveVersion);
    appendLE32(out, priority);
    appendLE32(out, count);
}

void appendArchiveRecord(std::vector<uint8_t>& out, KeystreamState& names, uint8_t key,
                         const char* name, size_t nameLength, uint32_t offset, uint32_t size) {
    out.push_back(key);
    out.push_back(static_cast<uint8_t>(nameLength));
    for (size_t i = 0; i < nameLength; ++i)
        out.push_back(cipherByte(names, reinterpret_cast<const uint8_t*>(name) + i));
    appendLE32(out, offset);
    appendLE32(out, size);
}
