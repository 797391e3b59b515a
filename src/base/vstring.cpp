#include "base/vstring.h"

#include <cstdint>
#include <cstring>
#include <set>

void vstring::Assign(const char* text) {
    if (!text || !*text) {
        m_bytes.clear();
        return;
    }
    m_bytes.assign(text, text + std::strlen(text) + 1);
}

void vstring::Assign(const char* bytes, size_t len) {
    if (!bytes) {
        m_bytes.clear();
        return;
    }
    const void* nul = std::memchr(bytes, 0, len);
    if (nul) len = static_cast<const char*>(nul) - bytes;
    if (len == 0) {
        m_bytes.clear();
        return;
    }
    m_bytes.assign(bytes, bytes + len);
    m_bytes.push_back(0);
}

void vstring::append(const char* text) {
    if (text) append(text, std::strlen(text));
}

void vstring::append(const char* bytes, size_t len) {
    const void* nul = bytes ? std::memchr(bytes, 0, len) : nullptr;
    if (nul) len = static_cast<const char*>(nul) - bytes;
    if (len == 0) return;
    if (!m_bytes.empty()) m_bytes.pop_back();
    m_bytes.insert(m_bytes.end(), bytes, bytes + len);
    m_bytes.push_back(0);
}

bool operator==(const vstring& a, const vstring& b) {
    return std::strcmp(a.c_str(), b.c_str()) == 0;
}

int vs_compare(const char* a, const char* b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    for (;; ++p, ++q) {
        unsigned x = *p, y = *q;
        if (x >= 'a' && x <= 'z') x -= 'a' - 'A';
        if (y >= 'a' && y <= 'z') y -= 'a' - 'A';
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
}

namespace {
using Pool = std::set<vstring, vs_less>;

// The pool is made on the first interning and lives until the process ends, after every
// container whose keys it orders (static containers of any module may be destroyed in any
// order relative to it, and some of them intern while they are built).
Pool& pool() {
    static Pool* p = new Pool;
    return *p;
}
}  // namespace

const vstring* internString(const vstring& s) {
    Pool& set = pool();
    auto it = set.lower_bound(s);
    if (it != set.end() && !vs_less()(s, *it)) return &*it;
    return &*set.insert(it, s);
}

const vstring* internString(const char* text) { return internString(vstring(text)); }
