// Writes PNG files for the tests: chunks with their CRC, scanlines filtered by any of the five
// filters (chosen per row), the image data compressed by zlib or written as stored deflate blocks,
// and split over IDAT chunks of any size with other chunks between them.
#pragma once
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void putU32(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

inline void putChunk(Bytes& out, const char* type, const Bytes& data) {
    putU32(out, static_cast<uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    putU32(out, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

inline Bytes ihdr(uint32_t w, uint32_t h, int colourType, int depth = 8, int compression = 0,
                  int filter = 0, int interlace = 0) {
    Bytes d;
    putU32(d, w);
    putU32(d, h);
    d.push_back(static_cast<uint8_t>(depth));
    d.push_back(static_cast<uint8_t>(colourType));
    d.push_back(static_cast<uint8_t>(compression));
    d.push_back(static_cast<uint8_t>(filter));
    d.push_back(static_cast<uint8_t>(interlace));
    return d;
}

inline const Bytes& pngSignature() {
    static const Bytes s = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
    return s;
}

// The forward filters, written from the PNG definition.
inline int paethPredict(int a, int b, int c) {
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    if (pb <= pc) return b;
    return c;
}

// Filtered scanlines (filter byte first) of raw rows in PNG byte order.
inline Bytes filterRows(const Bytes& raw, int width, int height, int bpp,
                        const std::vector<int>& filters) {
    const size_t row = static_cast<size_t>(width) * bpp;
    Bytes out;
    Bytes zero(row, 0);
    for (int y = 0; y < height; ++y) {
        const uint8_t* cur = raw.data() + y * row;
        const uint8_t* prev = y ? raw.data() + (y - 1) * row : zero.data();
        int f = filters[y % filters.size()];
        out.push_back(static_cast<uint8_t>(f));
        for (size_t i = 0; i < row; ++i) {
            int a = i >= size_t(bpp) ? cur[i - bpp] : 0;
            int b = prev[i];
            int c = i >= size_t(bpp) ? prev[i - bpp] : 0;
            int p = 0;
            switch (f) {
                case 1: p = a; break;
                case 2: p = b; break;
                case 3: p = (a + b) / 2; break;
                case 4: p = paethPredict(a, b, c); break;
                default: p = 0; break;
            }
            out.push_back(static_cast<uint8_t>(cur[i] - p));
        }
    }
    return out;
}

inline Bytes zlibCompress(const Bytes& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9);
    out.resize(size);
    return out;
}

// A zlib stream of stored (uncompressed) deflate blocks of at most blockSize bytes.
inline Bytes zlibStored(const Bytes& data, size_t blockSize = 65535) {
    Bytes out = {0x78, 0x01};
    size_t pos = 0;
    do {
        size_t n = std::min(blockSize, data.size() - pos);
        bool last = pos + n == data.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(n));
        out.push_back(static_cast<uint8_t>(n >> 8));
        out.push_back(static_cast<uint8_t>(~n));
        out.push_back(static_cast<uint8_t>(~n >> 8));
        out.insert(out.end(), data.begin() + pos, data.begin() + pos + n);
        pos += n;
    } while (pos < data.size());
    putU32(out, static_cast<uint32_t>(adler32(1, data.data(), static_cast<uInt>(data.size()))));
    return out;
}

struct PngParts {
    Bytes header;                 // IHDR data
    Bytes stream;                 // the zlib stream of all image data
    size_t idatSize = 0;          // bytes per IDAT chunk (0: one chunk)
    bool chunksBetween = false;   // an ancillary chunk and an empty IDAT between the IDAT chunks
    bool withEnd = true;          // IEND
};

inline Bytes buildPng(const PngParts& p) {
    Bytes out = pngSignature();
    putChunk(out, "IHDR", p.header);
    putChunk(out, "tEXt", Bytes{'k', 0, 'v'});
    size_t step = p.idatSize ? p.idatSize : std::max<size_t>(p.stream.size(), 1);
    for (size_t pos = 0; pos < p.stream.size(); pos += step) {
        size_t n = std::min(step, p.stream.size() - pos);
        putChunk(out, "IDAT", Bytes(p.stream.begin() + pos, p.stream.begin() + pos + n));
        if (p.chunksBetween) {
            putChunk(out, "zzZz", Bytes{1, 2, 3});
            putChunk(out, "IDAT", Bytes{});
        }
    }
    if (p.withEnd) putChunk(out, "IEND", Bytes{});
    return out;
}
