// cTextBuf: a whole text file cut into lines in place; cParams: one line cut into words.
//
// Lines end at CR (one LF right after a CR is consumed; a lone LF is an ordinary byte). Leading
// blanks and tabs of every line are skipped; blanks and tabs are trimmed only from the end of the
// whole text. The text ends at its first NUL byte. No character-set conversion: CR, LF, blank and
// tab never occur as trail bytes of the double-byte code pages in use.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/vstring.h"

class cTextBuf {
public:
    cTextBuf() = default;
    ~cTextBuf() { Clear(); }
    cTextBuf(const cTextBuf&) = delete;
    cTextBuf& operator=(const cTextBuf&) = delete;

    // The whole data file (see cFile) cut into lines; false for a file that cannot be opened or
    // read, an empty file, or when memory runs out (the buffer is then left without lines).
    bool Load(const char* folder, const char* name);
    // A copy of a NUL-terminated text cut into lines; false for null or "".
    bool SetText(const char* text);
    // Line i into out; false past the last line, leaving out unchanged.
    bool GetLine(size_t i, vstring& out) const;
    // Line i in place, or null past the last line.
    const char* Line(size_t i) const { return i < m_lines.size() ? m_lines[i] : nullptr; }
    size_t LineCount() const { return m_lines.size(); }
    void Clear();

private:
    // A block of textSize + 8 bytes with the text at its first multiple of 8; false when memory
    // runs out.
    bool allocate(size_t textSize);
    void split();

    char* m_block = nullptr;
    char* m_text = nullptr;
    size_t m_stored = 0;  // the text's size plus its NUL
    std::vector<char*> m_lines;
};

class cParams {
public:
    // Cuts a copy of the line into the maximal runs of bytes other than blank and tab.
    void Parse(const char* line);
    // Token i, or "" when i is negative or past the last token.
    const char* Get(int i) const;
    int Count() const { return static_cast<int>(m_tokens.size()); }

private:
    vstring m_copy;
    std::vector<const char*> m_tokens;
};

// The decimal conversion of data-file numbers: leading white space skipped, an optional sign,
// digits up to the first non-digit; 0 when there are none; saturates at the 32-bit limits.
int32_t decimalValue(const char* text);
