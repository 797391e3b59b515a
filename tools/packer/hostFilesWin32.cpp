// The packer's host files on Windows: the ANSI calls, so that names in the system's code page pass
// through as the engine reads them.
#include <windows.h>

#include "hostFiles.h"

namespace packer {

const char kPathSeparators[] = "/\\";

namespace {
bool attributes(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) != 0;
}

bool walk(const std::string& folder, std::vector<std::string>& parts,
          std::vector<HostFile>& files, std::string& error) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(joinPath(folder, "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) {
        if (isFolder(folder)) return true;  // an empty folder
        error = "cannot list " + folder + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    bool ok = true;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        parts.push_back(name);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // Folders reached through links (reparse points) are not entered.
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                ok = walk(joinPath(folder, name), parts, files, error);
        } else {
            uint64_t size = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            files.push_back({parts, joinPath(folder, name), size});
        }
        parts.pop_back();
    } while (ok && FindNextFileA(find, &found));
    FindClose(find);
    return ok;
}

bool identity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    return ok;
}
}  // namespace

bool isFolder(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return attributes(path, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool listFiles(const std::string& root, std::vector<HostFile>& files, std::string& error) {
    std::vector<std::string> parts;
    return walk(root, parts, files, error);
}

bool sameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION x, y;
    return identity(a, x) && identity(b, y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

bool fileSize(const std::string& path, uint64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!attributes(path, data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool createFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool renameFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

void removeFile(const std::string& path) { DeleteFileA(path.c_str()); }

}  // namespace packer
