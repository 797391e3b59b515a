// The data-archive packer: builds an archive from a folder of files, lists one and extracts one.
// Plain C++ over std file I/O, so it runs natively as well as in the Wine builds; the layout and
// the keystream are the engine's own (files/archiveFormat.h, files/keystream.h).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "files/archiveFormat.h"

namespace packer {

struct PackOptions {
    uint32_t priority = 0;
    uint8_t key = 0;  // 0 stores the entries plain
};

struct ListedEntry {
    uint8_t key;
    std::string name;
    uint32_t offset;
    uint32_t size;
};

// Packs every file under folder, named by its path relative to folder with backslashes between
// the parts (so "script/start.txt" becomes "script\start.txt"), sorted by name. The archive is
// written beside its final name and renamed into place once complete. names, when given,
// receives the entry names in archive order.
bool packFolder(const std::string& folder, const std::string& archive, const PackOptions& options,
                std::string& error, std::vector<std::string>* names = nullptr);

// The header and the entries of an archive. False with a message for an unreadable or damaged
// archive (entries holds the records before the damage).
bool listArchive(const std::string& archive, ArchiveHeader& header,
                 std::vector<ListedEntry>& entries, std::string& error);

// Extracts every entry under folder (backslashes become folders). Names that would leave the
// folder are refused. False with a message on any failure.
bool extractArchive(const std::string& archive, const std::string& folder, std::string& error);

// The command line: argv as given to main; messages go to out and err; returns the exit code.
int runPacker(int argc, char** argv, std::string& out, std::string& err);

}  // namespace packer
