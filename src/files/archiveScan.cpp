// The archive index over the host's files: the data folder beside the executable, its listing and
// the archive files.
#include "files/apiFile.h"
#include "files/archiveIndex.h"

namespace {
class FileSource final : public ByteSource {
public:
    explicit FileSource(cAPI_File& file) : m_file(file) {}
    bool Read(void* buffer, size_t n) override { return m_file.Read(buffer, n); }

private:
    cAPI_File& m_file;
};
}  // namespace

bool readArchiveIndex(const char* path, const char* archiveName) {
    cAPI_File file;
    if (!file.OpenRead(path)) return false;
    FileSource source(file);
    return indexArchive(source, file.Size64(), archiveName);
}

bool initDataArchives() {
    gArchiveIndex.clear();
    char module[kPathMax];
    folderBesideModule(gDataFolder, programPath(module) ? module : nullptr, "data");
    char path[kPathMax];
    if (formatPath(path, "%ssystem.dat", gDataFolder)) readArchiveIndex(path, "system.dat");
    return true;
}

bool scanDataArchives() {
    gArchiveIndex.clear();
    std::vector<vstring> archives;
    if (!listFolderFiles(gDataFolder, ".dat", archives)) return false;
    for (const vstring& name : archives) {
        char path[kPathMax];
        if (formatPath(path, "%s%s", gDataFolder, name.c_str())) readArchiveIndex(path, name.c_str());
    }
    return true;
}
