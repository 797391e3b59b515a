#include "files/apiFile.h"

#include <windows.h>

namespace {
// ReadFile and WriteFile take 32-bit counts: larger transfers go in pieces.
constexpr DWORD kMaxPiece = 1u << 30;

HANDLE open(const char* path, DWORD access, DWORD share, DWORD disposition) {
    if (!path || !*path) return INVALID_HANDLE_VALUE;
    return CreateFileA(path, access, share, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}
}  // namespace

bool cAPI_File::IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

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

void cAPI_File::Close() {
    if (IsOpen()) CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

uint64_t cAPI_File::Size64() const {
    if (!IsOpen()) return 0;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_handle, &size) || size.QuadPart < 0) return 0;
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
    return SetFilePointerEx(m_handle, to, nullptr, FILE_BEGIN) != 0;
}

bool cAPI_File::Read(void* buffer, size_t n, size_t* got) {
    size_t done = 0;
    bool ok = IsOpen() && buffer;
    while (ok && done < n) {
        DWORD piece = n - done > kMaxPiece ? kMaxPiece : static_cast<DWORD>(n - done);
        DWORD moved = 0;
        ok = ReadFile(m_handle, static_cast<char*>(buffer) + done, piece, &moved, nullptr) != 0;
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
        ok = WriteFile(m_handle, static_cast<const char*>(buffer) + done, piece, &moved,
                       nullptr) != 0;
        done += moved;
        if (moved < piece) ok = false;
    }
    if (put) *put = done;
    return ok;
}
