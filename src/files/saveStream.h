// cSaveStream: the in-memory container of named save records.
//
// A stream's buffer is nothing but records laid back to back, each
//   u32 name length L (no NUL counted), L name bytes, u32 data size S, S data bytes
// (little-endian, no padding). A whole stream nests as the data of one record of another.
// Every module serialises its state with one routine that writes when the stream's mode is
// kSaveWriting and reads otherwise, field by field under fixed record names.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "base/vstring.h"

constexpr uint8_t kSaveReading = 0;
constexpr uint8_t kSaveWriting = 1;
// A record name of no bytes or longer than this ends the indexing: no record name of the program
// comes near it, so such a length is damage.
constexpr uint32_t kMaxSaveNameLength = 0x100000;

class cSaveStream {
public:
    // Writing mode, empty buffer, empty directory.
    cSaveStream() = default;
    // A copy of the bytes, indexed: reading mode with its directory built.
    cSaveStream(const void* start, size_t length);

    // kSaveWriting or kSaveReading; serialisers branch on it.
    uint8_t mode = kSaveWriting;
    bool IsWriting() const { return mode == kSaveWriting; }

    // Appends one record. Neither checks the mode nor touches the directory. False only when the
    // record cannot be stored (a size beyond 32 bits, or no data for a non-zero size).
    bool WriteField(const char* name, const void* data, size_t size);
    // Copies the record's data into the destination when the record is in the directory, its
    // stored size is exactly `size` and its data lies inside the buffer; otherwise false and the
    // destination is untouched.
    bool ReadField(const char* name, void* destination, size_t size) const;
    // Typed fields in the direction of the mode. Writing stores the value; reading replaces it
    // only when the record is present with exactly the field's size (integers little-endian).
    // True when the field was stored or read.
    bool BytesField(const char* name, void* data, size_t size);
    bool U8Field(const char* name, uint8_t& value);
    bool U32Field(const char* name, uint32_t& value);
    bool I32Field(const char* name, int32_t& value);
    // Writing: the text with its NUL (an empty string is the single NUL, size 1).
    // Reading: s becomes empty, then the stored text up to its first NUL; false when the record
    // is absent.
    bool StringField(const char* name, vstring& s);
    // Writing: the nested stream's whole buffer as one record.
    // Reading: the nested stream is put in reading mode first; when the record is present its
    // data becomes the nested buffer and is indexed; false (nested otherwise unchanged) when absent.
    bool SectionField(const char* name, cSaveStream& nested);

    // The offset of the record's size field in the buffer, or null when the name is not in the
    // directory. Names match without regard to ASCII letter case.
    const uint32_t* FindField(const char* name) const;
    // Reading mode; rebuilds the directory from the buffer. Indexing stops at the first damaged
    // record; the records before it stay usable. Always true.
    bool BuildIndex();
    // Appends raw bytes to the buffer.
    void Append(const void* bytes, size_t n);
    // Copies n bytes from the offset and returns n; copies nothing and returns 0 when they do not
    // lie inside the buffer.
    uint32_t ReadAt(void* destination, size_t n, uint64_t offset) const;

    const std::vector<uint8_t>& Buffer() const { return m_buffer; }
    const uint8_t* Data() const { return m_buffer.data(); }
    size_t Size() const { return m_buffer.size(); }
    size_t FieldCount() const { return m_directory.size(); }
    // The names of the records in the directory (in no particular order).
    std::vector<vstring> FieldNames() const;

private:
    // Offset and size of a directory record's data, checked against the buffer.
    bool RecordData(const char* name, uint64_t* dataOffset, uint32_t* size) const;

    std::vector<uint8_t> m_buffer;
    std::map<vstring, uint32_t, vs_less> m_directory;
};
