#include "files/saveFile.h"

#include <cstdio>
#include <cstring>

#include "files/fileNames.h"

namespace {
char gSaveFolder[kPathMax];
bool gSaveFolderKnown = false;

struct Faults {
    int writes = 0;
    int failAt = 0;
    bool failReplace = false;
};
Faults gFaults;

bool faultyWrite() { return gFaults.failAt > 0 && ++gFaults.writes == gFaults.failAt; }
}  // namespace

void setSaveFileFaults(int failAt, bool failReplace) { gFaults = Faults{0, failAt, failReplace}; }

const char* getSaveFolder() {
    if (!gSaveFolderKnown) {
        char module[kPathMax];
        folderBesideModule(gSaveFolder, programPath(module) ? module : nullptr, "save");
        gSaveFolderKnown = true;
    }
    return gSaveFolder;
}

bool setSaveFolder(const char* folder) {
    char path[kPathMax];
    if (!folder || !formatPath(path, "%s", folder)) return false;
    std::memcpy(gSaveFolder, path, sizeof path);
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
    createFolder(getSaveFolder());  // an existing folder is fine
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
    if (!buffer || n == 0 || faultyWrite()) return false;
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

bool replaceSaveFile(const char* name, const std::function<bool(cSaveFile&)>& write) {
    char tempName[kPathMax], finalPath[kPathMax], tempPath[kPathMax];
    if (!name || !*name || !formatPath(tempName, "%s.new", name) ||
        !formatPath(finalPath, "%s%s", getSaveFolder(), name) ||
        !formatPath(tempPath, "%s%s", getSaveFolder(), tempName))
        return false;
    cSaveFile file;
    if (!file.Create(tempName)) return false;
    bool written = write(file);
    written = file.Close() && written;
    if (written && !gFaults.failReplace && replaceFile(tempPath, finalPath)) return true;
    deleteFile(tempPath);
    return false;
}
