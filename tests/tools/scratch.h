// Packer tests: scratch folders and files through plain POSIX calls (std::filesystem is not usable
// in the Winelib builds), so the same tests run natively and under Wine.
#pragma once
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace scratch {
using Bytes = std::vector<uint8_t>;

inline bool exists(const std::string& path) {
    struct stat s;
    return stat(path.c_str(), &s) == 0;
}

inline void makeFolders(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !exists(path.substr(0, slash)))
        makeFolders(path.substr(0, slash));
    mkdir(path.c_str(), 0777);
}

inline void writeFile(const std::string& path, const Bytes& bytes) {
    size_t slash = path.find_last_of('/');
    if (slash != std::string::npos) makeFolders(path.substr(0, slash));
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}
inline void writeFile(const std::string& path, const std::string& text) {
    writeFile(path, Bytes(text.begin(), text.end()));
}

inline Bytes readFile(const std::string& path) {
    Bytes out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    uint8_t buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
    std::fclose(f);
    return out;
}

inline void removeTree(const std::string& path) {
    struct stat s;
    if (lstat(path.c_str(), &s) != 0) return;
    if (S_ISDIR(s.st_mode)) {
        if (DIR* d = opendir(path.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string name = e->d_name;
                if (name != "." && name != "..") removeTree(path + "/" + name);
            }
            closedir(d);
        }
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}

// Every file below a folder by its path relative to it, with "/" between the parts.
inline void tree(const std::string& root, const std::string& below,
                 std::map<std::string, Bytes>& out) {
    if (DIR* d = opendir((root + below).c_str())) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            std::string rel = below + "/" + name;
            struct stat s;
            if (stat((root + rel).c_str(), &s) != 0) continue;
            if (S_ISDIR(s.st_mode))
                tree(root, rel, out);
            else
                out[rel.substr(1)] = readFile(root + rel);
        }
        closedir(d);
    }
}
inline std::map<std::string, Bytes> tree(const std::string& root) {
    std::map<std::string, Bytes> out;
    tree(root, "", out);
    return out;
}

// A fresh folder under /tmp, removed with its content at the end.
struct Folder {
    std::string root;
    Folder() {
        char pattern[] = "/tmp/morvane-packer-test.XXXXXX";
        char* made = mkdtemp(pattern);
        root = made ? made : "/tmp/morvane-packer-test";
    }
    ~Folder() { removeTree(root); }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    std::string operator/(const std::string& rel) const { return root + "/" + rel; }
};
}  // namespace scratch
