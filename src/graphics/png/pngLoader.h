// PNG decoder: 8-bit depth, not interlaced, grey, RGB, grey with alpha or RGBA, into an image of
// 1, 3, 2 or 4 bytes per pixel in this program's byte order (alpha first, then blue, green, red).
// CRCs are not checked; every chunk but IHDR, IDAT and IEND is skipped.
// The image data is inflated in one call by libdeflate when that succeeds; otherwise (a truncated,
// over-long or damaged stream, or too little memory) zlib inflates it chunk by chunk, which gives
// the results for such streams: rows left 0 at an early end, failure on an error.
#pragma once
#include <cstddef>
#include <cstdint>

#include "graphics/image.h"
#include "graphics/png/pngUnfilter.h"

// Where the PNG bytes come from: read sequentially from the start.
class cPngSource {
public:
    virtual ~cPngSource() {}
    // Reads exactly n bytes; false when fewer are left.
    virtual bool Read(void* dst, uint32_t n) = 0;
    // Bytes not yet read.
    virtual uint64_t Remaining() const = 0;
};

// A PNG held in memory.
class cPngMemorySource : public cPngSource {
public:
    cPngMemorySource(const void* data, uint64_t size)
        : m_data(static_cast<const uint8_t*>(data)), m_size(data ? size : 0) {}
    bool Read(void* dst, uint32_t n) override;
    uint64_t Remaining() const override { return m_size - m_pos; }

private:
    const uint8_t* m_data;
    uint64_t m_size;
    uint64_t m_pos = 0;
};

class cPngLoader {
public:
    cPngLoader() = default;
    cPngLoader(const cPngLoader&) = delete;
    cPngLoader& operator=(const cPngLoader&) = delete;
    ~cPngLoader() { Reset(); }

    // Loads folder\name (a data file) into the image.
    bool Load(const char* folder, const char* name, cSprite& image);
    // Loads the PNG read from source into the image. After a failure once the image was created, the
    // image is released so that a half-decoded picture is never drawn.
    bool LoadFrom(cPngSource& source, cSprite& image);
    // Inflates with zlib only, chunk by chunk as the file is read (for tests and benchmarks that
    // compare the two inflaters). Kept across loads.
    void SetZlibOnly(bool zlibOnly) { m_zlibOnly = zlibOnly; }
    // True when the last load's image data was inflated in one call (not by zlib).
    bool InflatedWhole() const { return m_inflatedWhole; }

    // Largest image accepted, in pixel bytes.
    static constexpr uint64_t kMaxImageBytes = uint64_t(1) << 28;
    // Scanline bytes inflated at a time (at least one scanline).
    static constexpr size_t kFillBytes = 64 * 1024;

private:
    void Reset();
    bool ReadChunk();
    uint8_t ReadByte();
    uint32_t ReadU32();
    bool ReadFileU32(uint32_t& value);
    bool ReadHeader();
    bool NextIdat();
    bool Decode(uint8_t* pixels, bool roomForScanlines);
    struct Gathered;
    bool Gather(Gathered& data);
    bool InflateWhole(const Gathered& data, uint8_t* pixels);
    bool NextInput(Gathered& data, const uint8_t*& input, uint32_t& size);
    bool InflateByChunks(Gathered& data, uint8_t* pixels);

    char m_chunkType[4] = {0, 0, 0, 0};
    uint32_t m_bytesLeft = 0;
    const uint8_t* m_read = nullptr;
    int32_t m_bytesPerPixel = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_rowUnit = 0;
    cPngSource* m_source = nullptr;
    cBuf m_chunk;
    bool m_zlibOnly = false;
    bool m_inflatedWhole = false;
};
