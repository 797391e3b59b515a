// cAPI_File: the owner of one operating-system file handle (data files and save-folder files).
#pragma once
#include <cstddef>
#include <cstdint>

class cAPI_File {
public:
    cAPI_File() = default;
    ~cAPI_File() { Close(); }
    cAPI_File(const cAPI_File&) = delete;
    cAPI_File& operator=(const cAPI_File&) = delete;

    // Every open first closes an open handle; true on success.
    bool Create(const char* path);     // create or truncate, for writing
    bool OpenRead(const char* path);   // an existing file, for reading (shared for reading)
    bool OpenWrite(const char* path);  // an existing file, for writing, not truncated
    void Close();
    bool IsOpen() const;

    // The file's size; 0 when closed or unreadable. Size saturates at 0xFFFFFFFF.
    uint32_t Size() const;
    uint64_t Size64() const;
    // Moves to an offset from the file's start; false when closed or when the move fails.
    bool Seek(uint64_t offset);

    // Exactly n bytes or false (also when closed); got, when given, receives the bytes moved.
    bool Read(void* buffer, size_t n, size_t* got = nullptr);
    bool Write(const void* buffer, size_t n, size_t* put = nullptr);

private:
    void* m_handle = reinterpret_cast<void*>(static_cast<intptr_t>(-1));  // INVALID_HANDLE_VALUE
};
