// The Win32 side of the host's files.
#include "files/apiFile.h"

#include <windows.h>

#include <cstring>

namespace {
// ReadFile and WriteFile take 32-bit counts: larger transfers go in pieces.
constexpr DWORD kMaxPiece = 1u << 30;
FileFlushFn gFlush = nullptr;  // test seam; nullptr: FlushFileBuffers

HANDLE handleOf(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

intptr_t open(const char* path, DWORD access, DWORD share, DWORD disposition) {
    if (!path || !*path) return -1;
    HANDLE h = CreateFileA(path, access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return h == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(h);
}
}  // namespace

bool cAPI_File::IsOpen() const { return m_handle != -1; }

bool cAPI_File::Create(const char* path) {
    Close();
    m_handle = open(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    return IsOpen();
}

bool cAPI_File::OpenRead(const char* path) {
    Close();
    m_handle = open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    return IsOpen();
}

bool cAPI_File::OpenWrite(const char* path) {
    Close();
    m_handle = open(path, GENERIC_WRITE, 0, OPEN_EXISTING);
    return IsOpen();
}

bool cAPI_File::Close() {
    if (!IsOpen()) return true;
    bool ok = CloseHandle(handleOf(m_handle)) != 0;
    m_handle = -1;
    return ok;
}

uint64_t cAPI_File::Size64() const {
    if (!IsOpen()) return 0;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handleOf(m_handle), &size) || size.QuadPart < 0) return 0;
    return static_cast<uint64_t>(size.QuadPart);
}

uint32_t cAPI_File::Size() const {
    uint64_t size = Size64();
    return size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
}

bool cAPI_File::Seek(uint64_t offset) {
    if (!IsOpen() || offset > static_cast<uint64_t>(INT64_MAX)) return false;
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(handleOf(m_handle), to, nullptr, FILE_BEGIN) != 0;
}

bool cAPI_File::Read(void* buffer, size_t n, size_t* got) {
    size_t done = 0;
    bool ok = IsOpen() && buffer;
    while (ok && done < n) {
        DWORD piece = n - done > kMaxPiece ? kMaxPiece : static_cast<DWORD>(n - done);
        DWORD moved = 0;
        ok = ReadFile(handleOf(m_handle), static_cast<char*>(buffer) + done, piece, &moved,
                      nullptr) != 0;
        done += moved;
        if (moved < piece) ok = false;  // end of file before n bytes
    }
    if (got) *got = done;
    return ok;
}

bool cAPI_File::Write(const void* buffer, size_t n, size_t* put) {
    size_t done = 0;
    bool ok = IsOpen() && buffer;
    while (ok && done < n) {
        DWORD piece = n - done > kMaxPiece ? kMaxPiece : static_cast<DWORD>(n - done);
        DWORD moved = 0;
        ok = WriteFile(handleOf(m_handle), static_cast<const char*>(buffer) + done, piece, &moved,
                       nullptr) != 0;
        done += moved;
        if (moved < piece) ok = false;
    }
    if (put) *put = done;
    return ok;
}

bool listFolderFiles(const char* folder, const char* extension, std::vector<vstring>& names) {
    names.clear();
    char pattern[kPathMax];
    if (!folder || !extension || !formatPath(pattern, "%s*%s", folder, extension)) return false;
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA(pattern, &found);
    if (listing == INVALID_HANDLE_VALUE) return false;
    do {
        if (!lstrcmpA(found.cFileName, ".") || !lstrcmpA(found.cFileName, "..")) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        names.emplace_back(found.cFileName);
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
    return true;
}

bool createFolder(const char* path) {
    if (!path || !*path) return false;
    if (CreateDirectoryA(path, nullptr)) return true;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void setFileFlush(FileFlushFn flush) { gFlush = flush; }

bool replaceFile(const char* from, const char* to) {
    if (!from || !to) return false;
    // The data reaches the disk before the new name does, so that a power cut after the rename
    // finds the whole file; the rename itself is written through.
    const intptr_t file = open(from, GENERIC_WRITE, 0, OPEN_EXISTING);
    if (file == -1) return false;
    const bool flushed = gFlush ? gFlush(file) : FlushFileBuffers(handleOf(file)) != 0;
    const bool closed = CloseHandle(handleOf(file)) != 0;
    return flushed && closed &&
           MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool deleteFile(const char* path) { return path && DeleteFileA(path); }

bool programPath(char (&out)[kPathMax]) {
    DWORD n = GetModuleFileNameA(nullptr, out, sizeof out);
    // 0 is a failure; a full buffer means the path was cut (and may lack its NUL).
    if (n == 0 || n >= sizeof out) {
        out[0] = 0;
        return false;
    }
    return true;
}
