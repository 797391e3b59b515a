#include "files/textBuf.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace {
inline bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

void cTextBuf::Clear() {
    delete[] m_block;
    m_block = nullptr;
    m_text = nullptr;
    m_stored = 0;
    m_lines.clear();
}

bool cTextBuf::allocate(size_t textSize) {
    if (textSize > SIZE_MAX - 8) return false;
    m_block = new (std::nothrow) char[textSize + 8];
    if (!m_block) return false;
    uintptr_t at = (reinterpret_cast<uintptr_t>(m_block) + 7) & ~uintptr_t(7);
    m_text = m_block + (at - reinterpret_cast<uintptr_t>(m_block));
    m_stored = textSize + 1;
    return true;
}

bool cTextBuf::SetText(const char* text) {
    Clear();
    if (!text || !*text) return false;
    size_t n = std::strlen(text);
    if (!allocate(n)) return false;
    std::memcpy(m_text, text, n + 1);
    split();
    return true;
}

void cTextBuf::split() {
    char* p = m_text;
    char* end = m_text + std::strlen(m_text);
    for (;;) {
        if (*p == 0) return;
        while (isBlank(*p)) ++p;
        // Only the end of the whole text is trimmed: blanks before a line's CR stay in it.
        while (end > m_text && isBlank(end[-1])) *--end = 0;
        m_lines.push_back(p);
        char* cr = std::strchr(p, '\r');
        if (!cr) return;
        *cr = 0;
        p = cr + 1;
        if (*p == '\n') ++p;
    }
}

bool cTextBuf::GetLine(size_t i, vstring& out) const {
    if (i >= m_lines.size()) return false;
    out = m_lines[i];
    return true;
}

void cParams::Parse(const char* line) {
    m_tokens.clear();
    m_copy.clear();
    if (!line || !*line) return;
    m_copy = line;
    char* p = m_copy.data();
    for (;;) {
        while (isBlank(*p)) ++p;
        char* token = p;
        while (*p && !isBlank(*p)) ++p;
        if (*p) *p++ = 0;
        m_tokens.push_back(token);
        if (*p == 0) return;
    }
}

const char* cParams::Get(int i) const {
    if (i < 0 || static_cast<size_t>(i) >= m_tokens.size()) return "";
    return m_tokens[i];
}

int32_t decimalValue(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t value = 0;
    const int64_t limit = negative ? -int64_t(INT32_MIN) : INT32_MAX;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > limit) {
            value = limit;  // saturate; the remaining digits change nothing
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}
