// cSaveFile: a file of the save folder beside the executable; every byte read or written passes
// through the save keystream, reseeded at each open, so byte k of a file always meets stream
// output k. Files are written and read from their start (a prefix may be rewritten in place).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

#include "files/apiFile.h"
#include "files/fileNames.h"
#include "files/keystream.h"

// The save folder, "<executable's folder>\save\" (".\save\" when the path cannot be used),
// computed on the first call.
const char* getSaveFolder();
// Test seam and explicit choice: makes folder (which must end with a backslash) the save folder;
// false, leaving it unchanged, when it does not fit a path buffer.
bool setSaveFolder(const char* folder);

class cSaveFile;
// The one way a save-folder file is replaced: the writer fills "<name>.new" (the keystream freshly
// seeded), which takes the old file's place in one step only when every write and the close
// succeeded. On any failure the old file stays byte for byte and the temporary file is removed.
bool replaceSaveFile(const char* name, const std::function<bool(cSaveFile&)>& write);

// Test seam: from now on the failAt-th write through a cSaveFile fails (counted from 1; 0 none),
// and every replace fails while failReplace is set.
void setSaveFileFaults(int failAt, bool failReplace);

class cSaveFile {
public:
    // Creates the save folder when missing, then creates or truncates the file.
    bool Create(const char* name);
    // Opens an existing file for rewriting from its start, without truncating it.
    bool OpenWrite(const char* name);
    bool OpenRead(const char* name);
    // False when what was written could not be flushed.
    bool Close() { return file.Close(); }

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
