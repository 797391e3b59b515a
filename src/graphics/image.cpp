#include "graphics/image.h"

#include <cstdlib>
#include <cstring>

#include "config/systemInfo.h"

bool cBuf::Alloc(uint64_t size) {
    Free();
    if (size == 0) return false;
    if (size > kMaxSize) return false;
    m_alloc = std::malloc(static_cast<size_t>(size) + 7);
    if (!m_alloc) return false;
    m_size = static_cast<uint32_t>(size);
    return true;
}

void cBuf::Free() {
    std::free(m_alloc);
    m_alloc = nullptr;
    m_size = 0;
}

uint8_t* cBuf::Aligned() const {
    if (!m_alloc) return nullptr;
    uintptr_t p = reinterpret_cast<uintptr_t>(m_alloc);
    return reinterpret_cast<uint8_t*>((p + 7) & ~static_cast<uintptr_t>(7));
}

uint64_t cImage::ByteCount() const {
    if (pitch <= 0 || height <= 0 || bytesPerPixel <= 0) return 0;
    return static_cast<uint64_t>(pitch) * static_cast<uint64_t>(height) *
           static_cast<uint64_t>(bytesPerPixel);
}

bool cImage::CreateIn(cBuf& buf, int bpp, int w, int h, uint32_t spare) {
    bytesPerPixel = static_cast<int8_t>(bpp);
    width = w;
    height = h;
    pitch = w;
    buf.Free();
    pixels = nullptr;
    if (w <= 0 || h <= 0 || bpp <= 0) return false;
    if (!buf.Alloc(static_cast<uint64_t>(w) * static_cast<uint64_t>(h) * static_cast<uint64_t>(bpp) +
                   spare))
        return false;
    pixels = buf.Aligned();
    return HasPixels();
}

void cImage::ClearFields() {
    bytesPerPixel = 0;
    pixels = nullptr;
    width = height = pitch = 0;
}

// --- cSprite

bool cSprite::Create(uint8_t bpp, int w, int h, uint32_t spare) {
    return CreateIn(m_buf, bpp, w, h, spare);
}

void cSprite::Release() {
    ClearFields();
    m_name.clear();
    m_buf.Free();
}

bool cSprite::IsOpaqueAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    if (!HasPixels()) return false;
    switch (bytesPerPixel) {
        case 1:
        case 3:
            return true;
        case 2:
        case 4: {
            uint64_t index = static_cast<uint64_t>(x) + static_cast<uint64_t>(y) * width;
            return pixels[index * bytesPerPixel] != 0;
        }
        default:
            return false;
    }
}

cSprite& cSprite::operator=(const cSprite& source) {
    if (&source == this) return *this;
    uint64_t bytes = source.ByteCount();
    // A source without pixels (sizes set by a failed Create) copies as an empty image.
    if (bytes == 0 || !source.pixels) {
        Release();
        return *this;
    }
    if (bytes != ByteCount() || !pixels) {
        if (!Create(static_cast<uint8_t>(source.bytesPerPixel), source.pitch, source.height))
            return *this;
    }
    bytesPerPixel = source.bytesPerPixel;
    width = source.width;
    height = source.height;
    pitch = source.pitch;
    std::memcpy(pixels, source.pixels, static_cast<size_t>(bytes));
    return *this;
}

// --- cCanvas

bool cCanvas::CreateScreen() { return CreateIn(m_buf, 3, gScreenWidth, gScreenHeight); }

bool cCanvas::Create(uint8_t bpp, int w, int h) { return CreateIn(m_buf, bpp, w, h); }

void cCanvas::Release() {
    ClearFields();
    m_buf.Free();
}

bool cCanvas::FillRgb(uint8_t r, uint8_t g, uint8_t b) {
    if (!pixels) return false;
    uint64_t count = 0;
    if (gScreenWidth > 0 && gScreenHeight > 0)
        count = static_cast<uint64_t>(gScreenWidth) * static_cast<uint64_t>(gScreenHeight);
    uint64_t own = ByteCount() / 3;
    if (count > own) count = own;
    uint8_t* p = pixels;
    if (r == g && g == b) {
        std::memset(p, r, static_cast<size_t>(count * 3));
        return true;
    }
    // One row of pattern, then whole copies of it.
    uint8_t pattern[3 * 64];
    for (int i = 0; i < 64; ++i) {
        pattern[i * 3] = b;
        pattern[i * 3 + 1] = g;
        pattern[i * 3 + 2] = r;
    }
    while (count >= 64) {
        std::memcpy(p, pattern, sizeof pattern);
        p += sizeof pattern;
        count -= 64;
    }
    std::memcpy(p, pattern, static_cast<size_t>(count * 3));
    return true;
}

// --- cMask

bool cMask::CreateScreen() { return CreateIn(m_buf, 1, gScreenWidth, gScreenHeight); }

void cMask::Release() {
    ClearFields();
    m_buf.Free();
}
