// The packer's few calls on the host's file system (POSIX natively, Win32 in the Windows
// builds), kept apart from the archive logic.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace packer {

struct HostFile {
    std::vector<std::string> parts;  // path below the listed folder, one part per level
    std::string path;                // the path to open
    uint64_t size;
};

bool isFolder(const std::string& path);
// Every regular file below root (folders reached through links are not entered).
bool listFiles(const std::string& root, std::vector<HostFile>& files, std::string& error);
// Whether two paths name the same existing file.
bool sameFile(const std::string& a, const std::string& b);
bool fileSize(const std::string& path, uint64_t& size);
// Creates a folder and the folders above it that are missing.
bool makeFolders(const std::string& path);
// Creates one folder whose parent exists.
bool createFolder(const std::string& path);
bool renameFile(const std::string& from, const std::string& to);
void removeFile(const std::string& path);
std::string joinPath(const std::string& folder, const std::string& name);
// The characters that separate the parts of a host path.
extern const char kPathSeparators[];

}  // namespace packer
