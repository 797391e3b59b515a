#include "files/saveFile.h"

#include <windows.h>

#include "files/fileNames.h"

namespace {
char gSaveFolder[kPathMax];
bool gSaveFolderKnown = false;
}  // namespace

const char* getSaveFolder() {
    if (!gSaveFolderKnown) {
        char module[kPathMax];
        DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
        // 0 is a failure; a full buffer means the path was cut (and may lack its NUL).
        bool ok = n > 0 && n < sizeof module;
        folderBesideModule(gSaveFolder, ok ? module : nullptr, "save");
        gSaveFolderKnown = true;
    }
    return gSaveFolder;
}

bool setSaveFolder(const char* folder) {
    char path[kPathMax];
    if (!folder || !formatPath(path, "%s", folder)) return false;
    lstrcpyA(gSaveFolder, path);
    gSaveFolderKnown = true;
    return true;
}

bool cSaveFile::joinName(char (&out)[kPathMax], const char* name) {
    return name && *name && formatPath(out, "%s%s", getSaveFolder(), name);
}

bool cSaveFile::Create(const char* name) {
    file.Close();
    char path[kPathMax];
    if (!joinName(path, name)) return false;
    CreateDirectoryA(getSaveFolder(), nullptr);  // an existing folder is fine
    cipherSeed(m_stream, kSaveSeed);
    return file.Create(path);
}

bool cSaveFile::OpenWrite(const char* name) {
    file.Close();
    char path[kPathMax];
    if (!joinName(path, name)) return false;
    cipherSeed(m_stream, kSaveSeed);
    return file.OpenWrite(path);
}

bool cSaveFile::OpenRead(const char* name) {
    file.Close();
    char path[kPathMax];
    if (!joinName(path, name)) return false;
    cipherSeed(m_stream, kSaveSeed);
    return file.OpenRead(path);
}

bool cSaveFile::Read(void* buffer, size_t n) {
    size_t got = 0;
    bool ok = file.Read(buffer, n, &got);
    // Only bytes that came from the file are file data; the stream stays in step with them.
    if (buffer) decipherBytes(buffer, got, m_stream);
    return ok;
}

bool cSaveFile::Write(const void* buffer, size_t n) {
    if (!buffer || n == 0) return false;
    const uint8_t* from = static_cast<const uint8_t*>(buffer);
    uint8_t block[4096];
    size_t done = 0;
    bool ok = true;
    while (done < n) {
        size_t piece = n - done < sizeof block ? n - done : sizeof block;
        for (size_t i = 0; i < piece; ++i) block[i] = cipherByte(m_stream, from + done + i);
        done += piece;
        if (ok) ok = file.Write(block, piece);
    }
    return ok;
}
