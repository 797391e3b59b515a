// Data archives: the data folder and the index of every archive entry in it.
#pragma once
#include <cstdint>
#include <map>

#include "files/archiveFormat.h"
#include "files/fileNames.h"
#include "base/vstring.h"

// Where one entry's data lies.
struct cPathNode {
    vstring archive;        // the archive's file name inside the data folder, as listed
    uint32_t priority = 0;  // that archive's priority
    uint32_t offset = 0;    // data offset inside the archive
    uint32_t size = 0;      // data size
    uint8_t key = 0;        // key byte: 0 plain, else enciphered
};

// Entry name (lower-cased, matched without regard to case) to its place.
using cArchiveIndex = std::map<vstring, cPathNode>;
extern cArchiveIndex gArchiveIndex;

// The data folder with its trailing backslash: ".\data\" until initDataArchives sets it beside
// the executable.
extern char gDataFolder[kPathMax];
// Test seam and explicit choice: false, leaving it unchanged, when folder does not fit.
bool setDataFolder(const char* folder);

// Sets the data folder beside the executable and indexes "system.dat" alone.
bool initDataArchives();
// Clears the index and reads every "*.dat" of the data folder; false only when the folder
// cannot be listed.
bool scanDataArchives();
// Merges one archive's directory into the index (path of the file, its name in the data folder).
bool readArchiveIndex(const char* path, const char* archiveName);
// The same over bytes already opened: fileSize bounds the entries' data.
bool indexArchive(ByteSource& in, uint64_t fileSize, const char* archiveName);

// The entry of that name (any letter case), or null.
const cPathNode* findArchiveEntry(const char* name);
// Inserts or replaces an entry, unless the one indexed has a strictly higher priority.
void mergeArchiveEntry(const vstring& name, const cPathNode& node);
