// The data-archive packer: builds an archive from a folder of files, lists one and extracts one.
// Plain C++ over std file I/O, so it runs natively as well as in the Wine builds; the layout and
// the keystream are the engine's own (files/archiveFormat.h, files/keystream.h).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "files/archiveFormat.h"

namespace packer {

// How far a pack has come: after each entry, the entries and bytes written and their totals.
struct PackProgress {
    size_t files = 0;
    size_t totalFiles = 0;
    uint64_t bytes = 0;
    uint64_t totalBytes = 0;
};

struct PackOptions {
    uint32_t priority = 0;
    uint8_t key = 0;  // 0 stores the entries plain
};

// A folder large enough for the command line to show the progress of packing it.
bool isLargeFolder(size_t files, uint64_t bytes);

struct ListedEntry {
    uint8_t key;
    std::string name;
    uint32_t offset;
    uint32_t size;
};

// Packs every file under folder, named by its path relative to folder with backslashes between
// the parts (so "script/start.txt" becomes "script\start.txt"), sorted by name. The archive is
// written beside its final name and renamed into place once complete. names, when given,
// receives the entry names in archive order; progress, when given, is called after each entry.
bool packFolder(const std::string& folder, const std::string& archive, const PackOptions& options,
                std::string& error, std::vector<std::string>* names = nullptr,
                const std::function<void(const PackProgress&)>& progress = {});

// The header and the entries of an archive. False with a message for an unreadable or damaged
// archive (entries holds the records before the damage).
bool listArchive(const std::string& archive, ArchiveHeader& header,
                 std::vector<ListedEntry>& entries, std::string& error);

// Extracts every entry under folder (backslashes become folders). Names that would leave the
// folder are refused. False with a message on any failure.
bool extractArchive(const std::string& archive, const std::string& folder, std::string& error);

// The command line: argv as given to main; messages go to out and err; returns the exit code.
// When progress is given, packing a large folder sends it lines of how far it has come, as they
// happen (about every tenth of the work).
int runPacker(int argc, char** argv, std::string& out, std::string& err,
              const std::function<void(const std::string&)>& progress = {});

}  // namespace packer
