// The POSIX side of the host's files, for the native build: the same operations over file
// descriptors, with the program's backslashes read as slashes.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "files/apiFile.h"

namespace {
FileFlushFn gFlush = nullptr;  // test seam; nullptr: fsync

std::string hostPath(const char* path) {
    std::string p = path ? path : "";
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

int descriptor(intptr_t h) { return static_cast<int>(h); }

intptr_t openFile(const char* path, int flags) {
    if (!path || !*path) return -1;
    int fd;
    do fd = ::open(hostPath(path).c_str(), flags | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) return -1;
    struct stat s;
    if (fstat(fd, &s) != 0 || !S_ISREG(s.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool endsWith(const char* name, const char* ending) {
    size_t n = std::strlen(name), e = std::strlen(ending);
    return n >= e && strcasecmp(name + n - e, ending) == 0;
}
}  // namespace

bool cAPI_File::IsOpen() const { return m_handle != -1; }

bool cAPI_File::Create(const char* path) {
    Close();
    m_handle = openFile(path, O_WRONLY | O_CREAT | O_TRUNC);
    return IsOpen();
}

bool cAPI_File::OpenRead(const char* path) {
    Close();
    m_handle = openFile(path, O_RDONLY);
    return IsOpen();
}

bool cAPI_File::OpenWrite(const char* path) {
    Close();
    m_handle = openFile(path, O_WRONLY);
    return IsOpen();
}

bool cAPI_File::Close() {
    if (!IsOpen()) return true;
    bool ok = ::close(descriptor(m_handle)) == 0;
    m_handle = -1;
    return ok;
}

uint64_t cAPI_File::Size64() const {
    struct stat s;
    if (!IsOpen() || fstat(descriptor(m_handle), &s) != 0 || s.st_size < 0) return 0;
    return static_cast<uint64_t>(s.st_size);
}

uint32_t cAPI_File::Size() const {
    uint64_t size = Size64();
    return size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
}

bool cAPI_File::Seek(uint64_t offset) {
    if (!IsOpen() || offset > static_cast<uint64_t>(INT64_MAX)) return false;
    return lseek(descriptor(m_handle), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool cAPI_File::Read(void* buffer, size_t n, size_t* got) {
    size_t done = 0;
    bool ok = IsOpen() && buffer;
    while (ok && done < n) {
        ssize_t moved = ::read(descriptor(m_handle), static_cast<char*>(buffer) + done, n - done);
        if (moved < 0 && errno == EINTR) continue;
        if (moved <= 0) ok = false;  // an error, or the end of the file before n bytes
        else done += static_cast<size_t>(moved);
    }
    if (got) *got = done;
    return ok;
}

bool cAPI_File::Write(const void* buffer, size_t n, size_t* put) {
    size_t done = 0;
    bool ok = IsOpen() && buffer;
    while (ok && done < n) {
        ssize_t moved =
            ::write(descriptor(m_handle), static_cast<const char*>(buffer) + done, n - done);
        if (moved < 0 && errno == EINTR) continue;
        if (moved <= 0) ok = false;
        else done += static_cast<size_t>(moved);
    }
    if (put) *put = done;
    return ok;
}

bool listFolderFiles(const char* folder, const char* extension, std::vector<vstring>& names) {
    names.clear();
    if (!folder || !extension) return false;
    const std::string path = hostPath(folder);
    DIR* dir = opendir(path.empty() ? "." : path.c_str());
    if (!dir) return false;
    while (dirent* entry = readdir(dir)) {
        if (!endsWith(entry->d_name, extension)) continue;
        struct stat s;
        std::string full = path + (path.empty() || path.back() == '/' ? "" : "/") + entry->d_name;
        if (stat(full.c_str(), &s) == 0 && S_ISREG(s.st_mode)) names.emplace_back(entry->d_name);
    }
    closedir(dir);
    return true;
}

bool createFolder(const char* path) {
    if (!path || !*path) return false;
    std::string p = hostPath(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    struct stat s;
    return mkdir(p.c_str(), 0777) == 0 || (stat(p.c_str(), &s) == 0 && S_ISDIR(s.st_mode));
}

void setFileFlush(FileFlushFn flush) { gFlush = flush; }

bool replaceFile(const char* from, const char* to) {
    if (!from || !to) return false;
    const std::string source = hostPath(from);
    int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool synced = gFlush ? gFlush(fd) : fsync(fd) == 0;
    ::close(fd);
    return synced && std::rename(source.c_str(), hostPath(to).c_str()) == 0;
}

bool deleteFile(const char* path) { return path && unlink(hostPath(path).c_str()) == 0; }

bool programPath(char (&out)[kPathMax]) {
    ssize_t n = readlink("/proc/self/exe", out, sizeof out);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof out) {
        out[0] = 0;
        return false;
    }
    out[n] = 0;
    return true;
}
