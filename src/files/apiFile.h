// The host's files, behind one small interface: cAPI_File owns one open file, and the few folder
// operations beside it. The program uses the Win32 side (apiFile.cpp); the native build, where the
// loaders run under the sanitizers, the POSIX side (apiFilePosix.cpp). Paths are the program's
// own, with backslashes; the POSIX side reads each backslash as a slash.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/vstring.h"
#include "files/fileNames.h"

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
    // Closes the handle; false when the data written could not be flushed to the file.
    bool Close();
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
    intptr_t m_handle = -1;  // the host's handle or descriptor; -1 none
};

// The names of the regular files of a folder (ending with its separator) whose names end with
// the extension (".dat"), in the host's listing order; false when the folder cannot be listed.
bool listFolderFiles(const char* folder, const char* extension, std::vector<vstring>& names);
// Creates a folder; true also when it exists.
bool createFolder(const char* path);
// Puts a completely written file in place of another in one step, the old one replaced and the
// data on the disk when it returns: the data is flushed to the disk before the rename, and a
// failed flush fails the replace; false leaves both as they were.
bool replaceFile(const char* from, const char* to);
// Test seam: the flush that replaceFile makes (FlushFileBuffers, fsync), given a handle or
// descriptor of the written file; true when its data is on the disk. nullptr: the system's own.
using FileFlushFn = bool (*)(intptr_t handle);
void setFileFlush(FileFlushFn flush);
// True when the file was deleted.
bool deleteFile(const char* path);
// The running program's full path; false when it cannot be read whole.
bool programPath(char (&out)[kPathMax]);
