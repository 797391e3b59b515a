// Support for the fuzz targets: the libFuzzer entry point every target defines, a reader that
// takes an input apart piece by piece, and a check that stops the run (libFuzzer reports it as a
// crash and keeps the input).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// A broken invariant: the condition is printed and the process aborts.
#define FUZZ_CHECK(condition)                                                             \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    // The next byte, 0 once the input is used up.
    uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    // The bytes up to the next NUL (consumed) or the end, as a NUL-terminated text.
    std::string Text() {
        const size_t start = m_at;
        while (m_at < m_size && m_data[m_at] != 0) ++m_at;
        std::string text(reinterpret_cast<const char*>(m_data + start), m_at - start);
        if (m_at < m_size) ++m_at;
        return text;
    }
    // Everything left, and how much that is.
    const uint8_t* Rest() const { return m_data + m_at; }
    size_t Left() const { return m_size - m_at; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};
