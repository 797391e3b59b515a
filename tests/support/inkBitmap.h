// A white 32-bit bitmap selected into a memory device context, for tests that draw text with GDI
// and look at where its ink went.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

class InkBitmap {
public:
    InkBitmap(int width, int height) : width(width), height(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_old = SelectObject(dc, m_bitmap);
        SetBkMode(dc, TRANSPARENT);
        Clear();
    }
    ~InkBitmap() {
        SelectObject(dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(dc);
    }
    InkBitmap(const InkBitmap&) = delete;
    InkBitmap& operator=(const InkBitmap&) = delete;

    void Clear() {
        if (m_bits) std::memset(m_bits, 255, static_cast<size_t>(width) * height * 4);
    }
    // The dark pixels (text drawn in black), row by row.
    std::vector<bool> Ink() const {
        GdiFlush();
        std::vector<bool> ink(static_cast<size_t>(width) * height);
        const uint32_t* p = static_cast<const uint32_t*>(m_bits);
        for (size_t i = 0; p && i < ink.size(); ++i) ink[i] = (p[i] & 0xFF) < 128;
        return ink;
    }

    const int width, height;
    const HDC dc = CreateCompatibleDC(nullptr);

private:
    void* m_bits = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};
