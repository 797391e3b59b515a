// cSaveFile: a file of the save folder beside the executable; every byte read or written passes
// through the save keystream, reseeded at each open, so byte k of a file always meets stream
// output k. Files are written and read from their start (a prefix may be rewritten in place).
#pragma once
#include <cstddef>
#include <cstdint>

#include "files/apiFile.h"
#include "files/fileNames.h"
#include "files/keystream.h"

// The save folder, "<executable's folder>\save\" (".\save\" when the path cannot be used),
// computed on the first call.
const char* getSaveFolder();
// Test seam and explicit choice: makes folder (which must end with a backslash) the save folder;
// false, leaving it unchanged, when it does not fit a path buffer.
bool setSaveFolder(const char* folder);

class cSaveFile {
public:
    // Creates the save folder when missing, then creates or truncates the file.
    bool Create(const char* name);
    // Opens an existing file for rewriting from its start, without truncating it.
    bool OpenWrite(const char* name);
    bool OpenRead(const char* name);
    void Close() { file.Close(); }

    // Exactly n bytes, deciphered; a short read deciphers only the bytes that arrived and fails.
    bool Read(void* buffer, size_t n);
    // n bytes enciphered on their way out (the caller's buffer is unchanged); n = 0 fails.
    bool Write(const void* buffer, size_t n);

    // The open file (its Size is the length of a file being read).
    cAPI_File file;

private:
    bool joinName(char (&out)[kPathMax], const char* name);
    KeystreamState m_stream;
};
