#include "files/archiveIndex.h"

#include <cstring>

#include "base/moduleOrder.h"
#include "base/moduleState.h"

cArchiveIndex gArchiveIndex MODULE_OBJECT(kOrderArchiveIndex);
char gDataFolder[kPathMax] = ".\\data\\";

namespace {
// The folder is where this run reads from, kept; the index is state.
const cModuleReset kReset(kOrderArchiveIndex, [] { gArchiveIndex.clear(); });
}

bool setDataFolder(const char* folder) {
    char path[kPathMax];
    if (!folder || !formatPath(path, "%s", folder)) return false;
    std::memcpy(gDataFolder, path, sizeof path);
    return true;
}

const cPathNode* findArchiveEntry(const char* name) {
    if (!name || !*name) return nullptr;
    auto it = gArchiveIndex.find(vstring(name));
    return it == gArchiveIndex.end() ? nullptr : &it->second;
}

void mergeArchiveEntry(const vstring& name, const cPathNode& node) {
    if (name.empty()) return;
    auto it = gArchiveIndex.find(name);
    if (it == gArchiveIndex.end()) {
        gArchiveIndex.emplace(name, node);
        return;
    }
    // Equal priorities let the archive read later win.
    if (it->second.priority > node.priority) return;
    it->second = node;
}

bool indexArchive(ByteSource& in, uint64_t fileSize, const char* archiveName) {
    ArchiveHeader header;
    vstring archive(archiveName);
    return readArchiveDirectory(in, fileSize, header, [&](const ArchiveRecord& record) {
        vstring name = record.name;
        lowerCaseAscii(name.data());
        cPathNode node;
        node.archive = archive;
        node.priority = header.priority;
        node.offset = record.offset;
        node.size = record.size;
        node.key = record.key;
        mergeArchiveEntry(name, node);
    });
}
