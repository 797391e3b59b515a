// The packer's host files on POSIX systems (the native build).
#include "hostFiles.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace packer {

const char kPathSeparators[] = "/";
namespace {
bool walk(const std::string& folder, std::vector<std::string>& parts,
          std::vector<HostFile>& files, std::string& error) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        error = "cannot list " + folder + ": " + std::strerror(errno);
        return false;
    }
    bool ok = true;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        std::string path = joinPath(folder, name);
        struct stat link, target;
        if (lstat(path.c_str(), &link) != 0 || stat(path.c_str(), &target) != 0) continue;
        parts.push_back(name);
        if (S_ISDIR(target.st_mode)) {
            if (!S_ISLNK(link.st_mode)) ok = walk(path, parts, files, error);
        } else if (S_ISREG(target.st_mode)) {
            files.push_back({parts, path, static_cast<uint64_t>(target.st_size)});
        }
        parts.pop_back();
        if (!ok) break;
    }
    closedir(dir);
    return ok;
}
}  // namespace

bool isFolder(const std::string& path) {
    struct stat s;
    return stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

bool listFiles(const std::string& root, std::vector<HostFile>& files, std::string& error) {
    std::vector<std::string> parts;
    return walk(root, parts, files, error);
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat x, y;
    return stat(a.c_str(), &x) == 0 && stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}

bool fileSize(const std::string& path, uint64_t& size) {
    struct stat s;
    if (stat(path.c_str(), &s) != 0 || !S_ISREG(s.st_mode)) return false;
    size = static_cast<uint64_t>(s.st_size);
    return true;
}

bool createFolder(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }

bool renameFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void removeFile(const std::string& path) { std::remove(path.c_str()); }

}  // namespace packer
