// The image classes: a plain byte image in one of four pixel formats, and its owning kinds.
//
// Pixel formats (bytes in memory order): 1 grey; 2 alpha, grey; 3 blue, green, red;
// 4 alpha, blue, green, red. Alpha 255 is opaque. Rows are top to bottom, packed; the pitch (in
// pixels) equals the width in every image the program makes.
#pragma once
#include <cstdint>

#include "base/vstring.h"

struct HDC__;  // the platform's device context (HDC)

// Raw pixel storage: the allocation holds size + 7 bytes so the pixels can start on a multiple of 8.
class cBuf {
public:
    cBuf() = default;
    ~cBuf() { Free(); }
    cBuf(const cBuf&) = delete;
    cBuf& operator=(const cBuf&) = delete;

    // Frees the old storage and allocates size bytes (nothing for 0); false when the allocation
    // fails or the size is above the limit.
    bool Alloc(uint64_t size);
    void Free();
    // The first byte at a multiple of 8 inside the allocation; null without storage.
    uint8_t* Aligned() const;
    uint32_t Size() const { return m_size; }

    // Largest size accepted (bytes).
    static constexpr uint64_t kMaxSize = 0x7FFFFFF0u;

private:
    void* m_alloc = nullptr;
    uint32_t m_size = 0;
};

// A view of pixels: the base of every image. It never owns its pixels.
class cImage {
public:
    cImage() = default;
    virtual ~cImage() {}

    // True when the image has pixels and a non-zero pixel format.
    bool HasPixels() const { return pixels != nullptr && bytesPerPixel != 0; }
    // Pixel bytes of the whole image: pitch x height x bytes per pixel (0 when any is not positive).
    uint64_t ByteCount() const;

    int8_t bytesPerPixel = 0;   // 0 = empty; 1, 2, 3 or 4
    uint8_t* pixels = nullptr;  // first byte of the first pixel, a multiple of 8
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;  // pixels from one row to the next

protected:
    // Sets the format and size (pitch = width) and gives the image new storage from buf, with
    // spareBytes more after the pixels (work room, e.g. for a decoder); false without pixels (size
    // 0 or allocation failure), the fields staying set.
    bool CreateIn(cBuf& buf, int bytesPerPixel, int width, int height, uint32_t spareBytes = 0);
    void ClearFields();
};

// The general-purpose image; remembers the name of the PNG it holds.
class cSprite : public cImage {
public:
    cSprite() = default;
    cSprite(const cSprite& source) : cImage() { *this = source; }
    ~cSprite() override { Release(); }

    // spareBytes: storage after the pixels that belongs to no pixel (see cImage::CreateIn).
    bool Create(uint8_t bytesPerPixel, int width, int height, uint32_t spareBytes = 0);
    void Release();
    // Loads the PNG of that name from folder "img" unless the sprite already holds that name.
    bool LoadPng(const char* name);
    bool IsOpaqueAt(int x, int y) const;
    // Copies the pixels and sizes (not the name).
    cSprite& operator=(const cSprite& source);

    const vstring& Name() const { return m_name; }
    void SetName(const char* name) { m_name = name; }

private:
    cBuf m_buf;
    vstring m_name;
};

// Screen canvases and other work canvases.
class cCanvas : public cImage {
public:
    cCanvas() = default;
    cCanvas(const cCanvas&) = delete;
    cCanvas& operator=(const cCanvas&) = delete;
    ~cCanvas() override { Release(); }

    // 3 bytes per pixel at the screen size.
    bool CreateScreen();
    // Any format and size (work canvases).
    bool Create(uint8_t bytesPerPixel, int width, int height);
    void Release();
    // Fills the canvas (at most the screen size) with one colour given as red, green, blue.
    bool FillRgb(uint8_t r, uint8_t g, uint8_t b);
    // Shows the canvas at (0, 0) of a device context; windowed presentation.
    bool PresentToDC(HDC__* deviceContext) const;

private:
    cBuf m_buf;
};

// One byte per pixel: a wipe rule at the screen size.
class cMask : public cImage {
public:
    cMask() = default;
    cMask(const cMask&) = delete;
    cMask& operator=(const cMask&) = delete;
    ~cMask() override { Release(); }

    bool CreateScreen();
    void Release();
    // The rule picture of that name (folder "img") in grey, centred on a screen-sized mask of 0.
    bool Load(const char* name);

private:
    cBuf m_buf;
};
