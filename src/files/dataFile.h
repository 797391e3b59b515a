// cFile: a read-only data file named by folder and file name: an archive entry when the index
// holds the joined name, else a loose file under the data folder; a name holding ":" is an
// absolute path and bypasses both. Read sequentially from its start.
#pragma once
#include <cstddef>
#include <cstdint>

#include "files/apiFile.h"
#include "files/fileNames.h"
#include "files/keystream.h"
#include "base/vstring.h"

class cFile {
public:
    cFile() = default;
    ~cFile() { Close(); }
    cFile(const cFile&) = delete;
    cFile& operator=(const cFile&) = delete;

    // The folder may be null or empty; the name is joined to it as "folder\name".
    bool Open(const char* folder, const char* name);
    // The next n bytes, deciphered when the entry is enciphered. Fails (reading nothing) when
    // n is 0 or more than is left of the entry or file.
    bool Read(void* buffer, size_t n);
    void Close();
    // Hands a file error to the diagnostic sink; returns false.
    bool ReportError(const char* text);

    // Byte size of the entry or loose file (0 when nothing is open) and what is left to read.
    uint32_t Size() const { return m_size; }
    uint32_t Remaining() const { return m_left; }
    uint8_t Key() const { return m_key; }
    const char* Path() const { return m_path.c_str(); }

private:
    vstring m_path;
    cAPI_File m_file;
    uint32_t m_size = 0;
    uint32_t m_left = 0;
    uint8_t m_key = 0;
    KeystreamState m_stream;
};
