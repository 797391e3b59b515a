// The operating-system side of the archive index: the data folder beside the executable, the
// folder listing and the archive files.
#include <windows.h>

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
    DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
    // 0 is a failure; a full buffer means the path was cut (and may lack its NUL).
    folderBesideModule(gDataFolder, n > 0 && n < sizeof module ? module : nullptr, "data");
    char path[kPathMax];
    if (formatPath(path, "%ssystem.dat", gDataFolder)) readArchiveIndex(path, "system.dat");
    return true;
}

bool scanDataArchives() {
    gArchiveIndex.clear();
    char pattern[kPathMax];
    if (!formatPath(pattern, "%s*.dat", gDataFolder)) return false;
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA(pattern, &found);
    if (listing == INVALID_HANDLE_VALUE) return false;
    do {
        if (!lstrcmpA(found.cFileName, ".") || !lstrcmpA(found.cFileName, "..")) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        char path[kPathMax];
        if (formatPath(path, "%s%s", gDataFolder, found.cFileName))
            readArchiveIndex(path, found.cFileName);
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
    return true;
}
