// The packer's host files: what is the same on every host.
#include "hostFiles.h"

namespace packer {

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool makeFolders(const std::string& path) {
    if (path.empty() || isFolder(path)) return true;
    size_t slash = path.find_last_of(kPathSeparators);
    if (slash != std::string::npos && slash > 0 && !makeFolders(path.substr(0, slash)))
        return false;
    return createFolder(path) || isFolder(path);
}

}  // namespace packer
