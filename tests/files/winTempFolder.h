// Wine tests: a fresh folder under the temporary folder, removed with its files at the end.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder() {
        static unsigned counter = 0;
        char base[MAX_PATH];
        DWORD n = GetTempPathA(sizeof base, base);
        if (n == 0 || n >= sizeof base) lstrcpyA(base, ".\\");
        m_path = std::string(base) + "morvane-test-" + std::to_string(GetCurrentProcessId()) +
                 "-" + std::to_string(++counter) + "\\";
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~TempFolder() { removeTree(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, with a trailing backslash.
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + name; }

    static bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        DWORD put = 0;
        BOOL ok = bytes.empty() ||
                  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
        CloseHandle(h);
        return ok && put == bytes.size();
    }
    static bool writeFile(const std::string& path, const std::string& text) {
        return writeFile(path, std::vector<unsigned char>(text.begin(), text.end()));
    }
    static std::vector<unsigned char> readFile(const std::string& path) {
        std::vector<unsigned char> out;
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return out;
        unsigned char buf[4096];
        DWORD got = 0;
        while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0)
            out.insert(out.end(), buf, buf + got);
        CloseHandle(h);
        return out;
    }
    static bool exists(const std::string& path) {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    static void makeFolder(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }

private:
    static void removeTree(const std::string& folder) {
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    removeTree(folder + name + "\\");
                else
                    DeleteFileA((folder + name).c_str());
            } while (FindNextFileA(h, &found));
            FindClose(h);
        }
        std::string bare = folder.substr(0, folder.size() - 1);
        RemoveDirectoryA(bare.c_str());
    }
    std::string m_path;
};
