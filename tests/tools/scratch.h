// Packer tests: scratch folders and files, the same natively and under Wine.
#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace scratch {
using Bytes = std::vector<uint8_t>;

namespace fs = std::filesystem;

inline bool exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::u8path(path), ec);
}

inline void makeFolders(const std::string& path) {
    std::error_code ec;
    fs::create_directories(fs::u8path(path), ec);
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
    std::error_code ec;
    fs::remove_all(fs::u8path(path), ec);
}

// Every file below a folder by its path relative to it, with "/" between the parts.
inline std::map<std::string, Bytes> tree(const std::string& root) {
    std::map<std::string, Bytes> out;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(fs::u8path(root), ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file()) continue;
        std::string rel = it->path().lexically_relative(fs::u8path(root)).generic_u8string();
        out[rel] = readFile(it->path().u8string());
    }
    return out;
}

// A fresh folder in the temporary folder, removed with its content at the end.
struct Folder {
    std::string root;
    Folder() {
        std::random_device random;
        std::error_code ec;
        fs::path base = fs::temp_directory_path(ec);
        for (;;) {
            fs::path made = base / ("morvane-packer-test." + std::to_string(random()));
            if (fs::create_directory(made, ec) || ec) {
                root = made.generic_u8string();
                break;
            }
        }
    }
    ~Folder() { removeTree(root); }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    std::string operator/(const std::string& rel) const { return root + "/" + rel; }
};
}  // namespace scratch
