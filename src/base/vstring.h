// vstring: the program's string type, and the pool that makes every vstring-keyed container
// case-insensitive.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A growable vector of bytes holding the text followed by one NUL; the empty value holds no bytes.
class vstring {
public:
    vstring() = default;
    vstring(const char* text) { Assign(text); }
    // Bytes up to len, cut at the first NUL among them.
    vstring(const char* bytes, size_t len) { Assign(bytes, len); }

    vstring& operator=(const char* text) {
        Assign(text);
        return *this;
    }
    void Assign(const char* text);
    void Assign(const char* bytes, size_t len);

    // The text: never null; "" when the vector holds no bytes.
    const char* c_str() const { return m_bytes.empty() ? "" : m_bytes.data(); }

    // Text length (the byte count less the NUL).
    size_t size() const { return m_bytes.empty() ? 0 : m_bytes.size() - 1; }
    bool empty() const { return size() == 0; }

    // Byte count of the vector itself (text plus NUL, or 0).
    size_t byteCount() const { return m_bytes.size(); }
    char* data() { return m_bytes.empty() ? nullptr : m_bytes.data(); }

    void clear() { m_bytes.clear(); }
    void append(const char* text);
    void append(const char* bytes, size_t len);
    vstring& operator+=(const char* text) {
        append(text);
        return *this;
    }

private:
    std::vector<char> m_bytes;
};

// Case-insensitive (a-z only), unsigned byte order of two texts.
int vs_compare(const char* a, const char* b);
struct vs_less {
    bool operator()(const vstring& a, const vstring& b) const {
        return vs_compare(a.c_str(), b.c_str()) < 0;
    }
};

// The pooled copy equal to s without regard to letter case; the first form interned is kept.
// The address stays valid until exit.
const vstring* internString(const vstring& s);
const vstring* internString(const char* text);

// Keys of every vstring-keyed container order by their pooled copies' addresses: two keys are
// equal exactly when they are equal without regard to ASCII letter case.
inline bool operator<(const vstring& a, const vstring& b) {
    return reinterpret_cast<uintptr_t>(internString(a)) <
           reinterpret_cast<uintptr_t>(internString(b));
}

// Byte-for-byte text equality (variable names and script command words compare this way).
bool operator==(const vstring& a, const vstring& b);
inline bool operator!=(const vstring& a, const vstring& b) { return !(a == b); }
