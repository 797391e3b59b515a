#include "graphics/png/pngLoader.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>

bool cPngMemorySource::Read(void* dst, uint32_t n) {
    if (n > m_size - m_pos) return false;
    if (n) std::memcpy(dst, m_data + m_pos, n);
    m_pos += n;
    return true;
}

namespace {
const uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

bool isType(const char type[4], const char* name) { return std::memcmp(type, name, 4) == 0; }

// A zlib stream that is always ended.
struct Inflater {
    z_stream stream;
    bool open = false;
    Inflater() { std::memset(&stream, 0, sizeof stream); }
    ~Inflater() {
        if (open) inflateEnd(&stream);
    }
};

// One restored scanline (PNG order) into an image row in this program's order. dst may overlap
// src when it starts no later (rows moved down in place): each pixel is read before it is written.
void storeRow(uint8_t* dst, const uint8_t* src, int width, int bpp) {
    switch (bpp) {
        case 1:
            std::memmove(dst, src, static_cast<size_t>(width));
            break;
        case 2:
            for (int x = 0; x < width; ++x, dst += 2, src += 2) {
                const uint8_t v = src[0], a = src[1];
                dst[0] = a;
                dst[1] = v;
            }
            break;
        case 3:
            for (int x = 0; x < width; ++x, dst += 3, src += 3) {
                const uint8_t r = src[0], g = src[1], b = src[2];
                dst[0] = b;
                dst[1] = g;
                dst[2] = r;
            }
            break;
        case 4:
            for (int x = 0; x < width; ++x, dst += 4, src += 4) {
                uint32_t v;
                std::memcpy(&v, src, 4);
                v = __builtin_bswap32(v);
                std::memcpy(dst, &v, 4);
            }
            break;
        default:
            break;
    }
}
}  // namespace

void cPngLoader::Reset() {
    m_source = nullptr;
    m_chunk.Free();
    std::memset(m_chunkType, 0, sizeof m_chunkType);
    m_bytesLeft = 0;
    m_read = nullptr;
    m_bytesPerPixel = 0;
    m_rowUnit = 0;
    m_width = 0;
    m_height = 0;
}

bool cPngLoader::ReadFileU32(uint32_t& value) {
    uint8_t b[4];
    if (!m_source->Read(b, 4)) {
        value = 0;
        return false;
    }
    value = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
    return true;
}

bool cPngLoader::ReadChunk() {
    uint32_t length = 0;
    ReadFileU32(length);
    m_chunk.Free();
    m_read = nullptr;
    m_bytesLeft = 0;
    // The PNG limit, and never more than the source still holds (type and CRC included).
    if (length > 0x7FFFFFFFu) return false;
    if (uint64_t(length) + 4 > m_source->Remaining()) return false;
    if (!m_chunk.Alloc(uint64_t(length) + 4)) return false;
    uint8_t* data = m_chunk.Aligned();
    if (!m_source->Read(data, length + 4)) return false;
    uint32_t crc;
    ReadFileU32(crc);
    std::memcpy(m_chunkType, data, 4);
    m_read = data + 4;
    m_bytesLeft = length;
    return true;
}

uint8_t cPngLoader::ReadByte() {
    if (m_bytesLeft == 0) return 0;
    --m_bytesLeft;
    return *m_read++;
}

uint32_t cPngLoader::ReadU32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | ReadByte();
    return v;
}

bool cPngLoader::ReadHeader() {
    if (!ReadChunk()) return false;
    if (!isType(m_chunkType, "IHDR") || m_bytesLeft != 13) return false;
    uint32_t width = ReadU32();
    uint32_t height = ReadU32();
    uint8_t depth = ReadByte();
    uint8_t colourType = ReadByte();
    uint8_t compression = ReadByte();
    uint8_t filter = ReadByte();
    uint8_t interlace = ReadByte();
    if (depth != 8 || compression != 0 || filter != 0 || interlace != 0) return false;
    if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu) return false;
    m_width = static_cast<int32_t>(width);
    m_height = static_cast<int32_t>(height);
    switch (colourType) {
        case 0: m_bytesPerPixel = 1; break;
        case 2: m_bytesPerPixel = 3; break;
        case 4: m_bytesPerPixel = 2; break;
        case 6: m_bytesPerPixel = 4; break;
        default: m_bytesPerPixel = 0; break;  // palette and unknown types: the image is not made
    }
    m_rowUnit = m_bytesPerPixel;
    return true;
}

bool cPngLoader::NextIdat() {
    for (;;) {
        if (!ReadChunk()) return false;
        if (isType(m_chunkType, "IEND")) return false;
        if (isType(m_chunkType, "IDAT") && m_bytesLeft != 0) return true;
    }
}

// The image data of the file: the bytes of every non-empty IDAT chunk one after the other, and
// each chunk's length, so that zlib can be fed the chunks exactly as the file holds them.
struct cPngLoader::Gathered {
    cBuf bytes;
    cBuf lengths;  // u32 each
    uint64_t size = 0;
    uint32_t count = 0;
    bool whole = false;  // every IDAT chunk up to IEND or the end of the file is here
    // Next chunk handed to zlib.
    uint32_t next = 0;
    uint64_t offset = 0;

    uint32_t LengthAt(uint32_t i) const {
        uint32_t n;
        std::memcpy(&n, lengths.Aligned() + uint64_t(i) * 4, 4);
        return n;
    }
};

bool cPngLoader::Gather(Gathered& data) {
    // The chunks still to come hold at most the bytes left in the source, and each non-empty
    // IDAT but the last takes at least 13 of them (length, type, a data byte, CRC), so both
    // buffers are sized once. Should a chunk still not fit, gathering stops with that chunk not
    // handed on, and zlib goes on from it.
    const uint64_t left = m_source->Remaining();
    const uint64_t maxChunks = left / 13 + 1;
    if (!data.bytes.Alloc(left) || !data.lengths.Alloc(maxChunks * 4)) return false;
    while (NextIdat()) {
        if (data.count >= maxChunks || m_bytesLeft > left - data.size) return false;
        std::memcpy(data.bytes.Aligned() + data.size, m_read, m_bytesLeft);
        std::memcpy(data.lengths.Aligned() + uint64_t(data.count) * 4, &m_bytesLeft, 4);
        data.size += m_bytesLeft;
        ++data.count;
        m_read += m_bytesLeft;
        m_bytesLeft = 0;
    }
    data.whole = true;
    return true;
}

// The whole stream in one call, into the image's own storage, which has room for the scanlines
// (height bytes more than the pixels). Only a complete, valid zlib stream that fits counts: its
// rows are restored and moved down into place, and the rows it lacks are set to 0, as when zlib
// meets the stream's end early. Anything else gives false, the storage holding no defined bytes.
bool cPngLoader::InflateWhole(const Gathered& data, uint8_t* pixels) {
    const size_t row = static_cast<size_t>(m_width) * static_cast<size_t>(m_bytesPerPixel);
    const size_t line = row + 1;
    const size_t height = static_cast<size_t>(m_height);
    cBuf zero;
    if (!data.whole || data.size == 0 || !zero.Alloc(row)) return false;
    libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
    if (!inflater) return false;
    size_t produced = 0;
    const libdeflate_result result = libdeflate_zlib_decompress(
        inflater, data.bytes.Aligned(), data.size, pixels, line * height, &produced);
    libdeflate_free_decompressor(inflater);
    if (result != LIBDEFLATE_SUCCESS) return false;
    // Row i is restored from row i - 1 still in place; only then row i - 1 moves down (to
    // i - 1 rows of the image, which ends before row i's scanline begins).
    const size_t complete = produced / line;
    std::memset(zero.Aligned(), 0, row);
    const uint8_t* up = zero.Aligned();
    for (size_t i = 0; i < complete; ++i) {
        uint8_t* scan = pixels + i * line;
        pngUnfilterRow(scan[0], up, scan + 1, m_width, m_bytesPerPixel);
        if (i) storeRow(pixels + (i - 1) * row, up, m_width, m_bytesPerPixel);
        up = scan + 1;
    }
    if (complete) storeRow(pixels + (complete - 1) * row, up, m_width, m_bytesPerPixel);
    std::memset(pixels + complete * row, 0, (height - complete) * row);
    return true;
}

// Next input for zlib: the gathered chunks in order; unless they were all, then an IDAT chunk
// read but not gathered, then the chunks read from the file as they come.
bool cPngLoader::NextInput(Gathered& data, const uint8_t*& input, uint32_t& size) {
    if (data.next < data.count) {
        input = data.bytes.Aligned() + data.offset;
        size = data.LengthAt(data.next++);
        data.offset += size;
        return true;
    }
    if (data.whole) return false;
    if (m_bytesLeft == 0 && !NextIdat()) return false;
    input = m_read;
    size = m_bytesLeft;
    m_read += m_bytesLeft;
    m_bytesLeft = 0;
    return true;
}

bool cPngLoader::InflateByChunks(Gathered& data, uint8_t* pixels) {
    const size_t row = static_cast<size_t>(m_width) * static_cast<size_t>(m_bytesPerPixel);
    // Scanlines (filter byte first) are inflated several at a time into one buffer; the restored
    // row above the first of them is kept apart (all 0 above the image's first row).
    const size_t line = row + 1;
    const size_t rowsPerFill =
        std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(m_height), kFillBytes / line));
    cBuf lines;
    const size_t above = (line * rowsPerFill + 7) & ~size_t(7);
    if (!lines.Alloc(uint64_t(above) + row)) return false;
    uint8_t* fill = lines.Aligned();
    uint8_t* previous = fill + above;
    std::memset(previous, 0, row);

    Inflater z;
    if (inflateInit(&z.stream) != Z_OK) return false;
    z.open = true;

    size_t y = 0;
    const size_t height = static_cast<size_t>(m_height);
    while (y < height) {
        const size_t want = std::min(rowsPerFill, height - y);
        z.stream.next_out = fill;
        z.stream.avail_out = static_cast<uInt>(want * line);
        // The image data may end early (no further IDAT, or the zlib stream is complete): the rows
        // inflated whole are stored, the rest stay 0, and inflate is not called again.
        bool ended = false;
        while (z.stream.avail_out != 0) {
            if (z.stream.avail_in == 0) {
                const uint8_t* input = nullptr;
                uint32_t size = 0;
                if (!NextInput(data, input, size)) {
                    ended = true;
                    break;
                }
                z.stream.next_in = const_cast<Bytef*>(input);
                z.stream.avail_in = size;
            }
            int result = inflate(&z.stream, Z_NO_FLUSH);
            if (result == Z_STREAM_END) {
                ended = true;
                break;
            }
            if (result != Z_OK) return false;
        }
        const size_t complete = (want * line - z.stream.avail_out) / line;
        for (size_t i = 0; i < complete; ++i) {
            uint8_t* scan = fill + i * line;
            const uint8_t* up = i ? scan - line + 1 : previous;
            pngUnfilterRow(scan[0], up, scan + 1, m_width, m_bytesPerPixel);
            storeRow(pixels + row * (y + i), scan + 1, m_width, m_bytesPerPixel);
        }
        if (complete) std::memcpy(previous, fill + (complete - 1) * line + 1, row);
        y += complete;
        if (ended) break;
    }
    return true;
}

bool cPngLoader::Decode(uint8_t* pixels, bool roomForScanlines) {
    Gathered data;
    m_inflatedWhole =
        !m_zlibOnly && roomForScanlines && Gather(data) && InflateWhole(data, pixels);
    if (m_inflatedWhole) return true;
    const size_t row = static_cast<size_t>(m_width) * static_cast<size_t>(m_bytesPerPixel);
    std::memset(pixels, 0, row * static_cast<size_t>(m_height));
    return InflateByChunks(data, pixels);
}

bool cPngLoader::LoadFrom(cPngSource& source, cSprite& image) {
    Reset();
    m_inflatedWhole = false;
    m_source = &source;
    uint8_t signature[8];
    bool ok = source.Read(signature, 8) && std::memcmp(signature, kSignature, 8) == 0 &&
              ReadHeader();
    if (!ok) {
        Reset();
        return false;
    }
    const uint64_t bytes = uint64_t(m_width) * uint64_t(m_height) * uint64_t(m_bytesPerPixel);
    if (bytes > kMaxImageBytes) {
        Reset();
        return false;
    }
    // With room after the pixels for the scanlines (one filter byte per row), the whole image data
    // can be inflated in place; without it (memory is short), zlib inflates a few rows at a time.
    const uint8_t bpp = static_cast<uint8_t>(m_bytesPerPixel);
    const bool room = !m_zlibOnly && image.Create(bpp, m_width, m_height, uint32_t(m_height));
    if (!room && !image.Create(bpp, m_width, m_height)) {
        Reset();
        return false;
    }
    ok = Decode(image.pixels, room);
    Reset();
    if (!ok) {
        vstring name = image.Name();
        image.Release();
        image.SetName(name.c_str());
    }
    return ok;
}
