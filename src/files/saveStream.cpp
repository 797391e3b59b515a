#include "files/saveStream.h"

#include <cstring>

#include "base/littleEndian.h"

namespace {
// Stored strings longer than this read as empty.
constexpr uint32_t kMaxStringLength = 0x100000;

}  // namespace

cSaveStream::cSaveStream(const void* start, size_t length) {
    if (start && length) Append(start, length);
    BuildIndex();
}

bool cSaveStream::WriteField(const char* name, const void* data, size_t size) {
    if (!name) name = "";
    const size_t nameLength = std::strlen(name);
    if (nameLength > UINT32_MAX || size > UINT32_MAX) return false;
    if (size && !data) return false;
    appendLE32(m_buffer, static_cast<uint32_t>(nameLength));
    m_buffer.insert(m_buffer.end(), name, name + nameLength);
    appendLE32(m_buffer, static_cast<uint32_t>(size));
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    if (size) m_buffer.insert(m_buffer.end(), bytes, bytes + size);
    return true;
}

std::vector<vstring> cSaveStream::FieldNames() const {
    std::vector<vstring> names;
    names.reserve(m_directory.size());
    for (const auto& entry : m_directory) names.push_back(entry.first);
    return names;
}

bool cSaveStream::BytesField(const char* name, void* data, size_t size) {
    return IsWriting() ? WriteField(name, data, size) : ReadField(name, data, size);
}

bool cSaveStream::U8Field(const char* name, uint8_t& value) { return BytesField(name, &value, 1); }

bool cSaveStream::U32Field(const char* name, uint32_t& value) {
    uint8_t bytes[4];
    putLE32(bytes, value);
    if (!BytesField(name, bytes, sizeof bytes)) return false;
    value = getLE32(bytes);
    return true;
}

bool cSaveStream::I32Field(const char* name, int32_t& value) {
    uint32_t bits = static_cast<uint32_t>(value);
    if (!U32Field(name, bits)) return false;
    value = static_cast<int32_t>(bits);
    return true;
}

bool cSaveStream::RecordData(const char* name, uint64_t* dataOffset, uint32_t* size) const {
    const uint32_t* found = FindField(name);
    if (!found) return false;
    // All sums in 64 bits: a stored size near 2^32 must not wrap past the check.
    const uint64_t total = m_buffer.size();
    const uint64_t sizeField = *found;
    if (sizeField + 4 > total) return false;
    const uint32_t s = getLE32(m_buffer.data() + sizeField);
    if (sizeField + 4 + s > total) return false;
    *dataOffset = sizeField + 4;
    *size = s;
    return true;
}

bool cSaveStream::ReadField(const char* name, void* destination, size_t size) const {
    uint64_t offset;
    uint32_t stored;
    if (!RecordData(name, &offset, &stored)) return false;
    if (stored != size || (size && !destination)) return false;
    if (size) std::memcpy(destination, m_buffer.data() + offset, size);
    return true;
}

bool cSaveStream::StringField(const char* name, vstring& s) {
    if (IsWriting()) {
        // The text and its NUL; an empty string holds no bytes, so its NUL is given explicitly.
        if (s.empty()) return WriteField(name, "", 1);
        return WriteField(name, s.c_str(), s.size() + 1);
    }
    s.clear();
    uint64_t offset;
    uint32_t stored;
    if (!RecordData(name, &offset, &stored)) return false;
    if (stored == 0 || stored > kMaxStringLength) return true;
    s.Assign(reinterpret_cast<const char*>(m_buffer.data() + offset), stored);
    return true;
}

bool cSaveStream::SectionField(const char* name, cSaveStream& nested) {
    if (IsWriting()) return WriteField(name, nested.m_buffer.data(), nested.m_buffer.size());
    // Reading mode before anything else: an absent section leaves a stream whose reads all fail.
    nested.mode = kSaveReading;
    uint64_t offset;
    uint32_t stored;
    if (!RecordData(name, &offset, &stored)) return false;
    // The data lies inside this buffer (checked above), so its size is bounded by what was read.
    const uint8_t* begin = m_buffer.data() + offset;
    nested.m_buffer.assign(begin, begin + stored);
    nested.BuildIndex();
    return true;
}

const uint32_t* cSaveStream::FindField(const char* name) const {
    auto it = m_directory.find(vstring(name));
    return it == m_directory.end() ? nullptr : &it->second;
}

bool cSaveStream::BuildIndex() {
    m_directory.clear();
    mode = kSaveReading;
    const uint8_t* b = m_buffer.data();
    const uint64_t total = m_buffer.size();
    uint64_t p = 0;
    while (p < total) {
        if (total - p < 4) break;
        const uint32_t nameLength = getLE32(b + p);
        if (nameLength == 0 || nameLength > kMaxSaveNameLength) break;
        if (total - p - 4 < nameLength) break;
        const uint64_t sizeField = p + 4 + nameLength;
        // Directory offsets are 32-bit; a record beyond them cannot be reached.
        if (sizeField > UINT32_MAX) break;
        // A record whose size cannot be read, or whose data runs past the end, is absent.
        if (total - sizeField < 4) break;
        const uint32_t size = getLE32(b + sizeField);
        if (total - sizeField - 4 < size) break;
        // The key is the name up to its first NUL; the first record of a name is the one found.
        m_directory.emplace(vstring(reinterpret_cast<const char*>(b + p + 4), nameLength),
                            static_cast<uint32_t>(sizeField));
        p = sizeField + 4 + size;
    }
    return true;
}

void cSaveStream::Append(const void* bytes, size_t n) {
    if (!bytes || !n) return;
    const uint8_t* b = static_cast<const uint8_t*>(bytes);
    m_buffer.insert(m_buffer.end(), b, b + n);
}

uint32_t cSaveStream::ReadAt(void* destination, size_t n, uint64_t offset) const {
    const uint64_t total = m_buffer.size();
    if (n > UINT32_MAX || offset > total || n > total - offset) return 0;
    if (n) std::memcpy(destination, m_buffer.data() + offset, n);
    return static_cast<uint32_t>(n);
}
