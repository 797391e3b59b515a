// The weights of a box are the product of a column weight and a row weight, so each destination row
// first sums its source rows byte by byte (row weights applied), then each destination pixel sums
// its columns. Integer sums are exact, so the order of the additions does not matter: the row sums
// run in 32-bit vector lanes when the row weights allow it, else in 64 bits, and every column sum
// in 64 bits.
#include "graphics/resample.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "graphics/kernelSimd.h"
#include "graphics/simdPixelOps.h"

namespace {

// The source range and weights of each destination column (or row).
struct Box {
    int64_t first, last;           // source pixels first..last; empty when last < first
    std::vector<int64_t> weights;  // one per source pixel of the range
    int64_t total = 0;
    int64_t magnitude = 0;  // sum of the weights' absolute values
};

// Boxes of an axis: ws source pixels onto wd destination pixels.
std::vector<Box> boxesOf(int64_t ws, int64_t wd) {
    const int64_t f = (wd << 8) / ws;  // one source pixel in 1/256 destination pixels
    const int64_t g = (ws << 8) / wd;  // source pixels per destination pixel, 1/256
    std::vector<Box> boxes(static_cast<size_t>(wd));
    for (int64_t x = 0; x < wd; ++x) {
        Box& b = boxes[static_cast<size_t>(x)];
        b.first = (x * g) >> 8;
        b.last = (((x + 1) * g + 128) >> 8) - 1;
        if (b.first < 0) b.first = 0;
        if (b.last > ws - 1) b.last = ws - 1;
        for (int64_t s = b.first; s <= b.last; ++s) {
            int64_t w = f;
            // The first pixel counts from the 256-block in which s x f lies.
            if (s == b.first) w = (s + 1) * f - ((s * f) & ~int64_t(255));
            if (s == b.last) w = ((x + 1) << 8) - s * f;
            b.weights.push_back(w);
            b.total += w;
            b.magnitude += w < 0 ? -w : w;
        }
    }
    return boxes;
}

// Row sums in 32 bits hold when every weight fits 16 signed bits and the weights times 255 fit 31.
bool fits32(const Box& rows) {
    if (rows.magnitude > (int64_t(1) << 31) / 255 - 1) return false;
    for (int64_t w : rows.weights)
        if (w < -32768 || w > 32767) return false;
    return true;
}

void sumRows64(const uint8_t* src, int64_t rowBytes, const Box& rows, std::vector<int64_t>& line) {
    std::fill(line.begin(), line.end(), 0);
    for (int64_t sy = rows.first; sy <= rows.last; ++sy) {
        const int64_t w = rows.weights[static_cast<size_t>(sy - rows.first)];
        const uint8_t* s = src + sy * rowBytes;
        for (int64_t i = 0; i < rowBytes; ++i) line[static_cast<size_t>(i)] += w * s[i];
    }
}

#ifdef MORVANE_PIXEL_SIMD
// Two source rows at a time: their bytes interleaved as 16-bit pairs, one multiply-add by the pair
// of weights gives four 32-bit sums.
SIMD_PIXEL_TARGET void sumRows32Vector(const uint8_t* src, int64_t rowBytes, const Box& rows,
                                       std::vector<int32_t>& line) {
    std::fill(line.begin(), line.end(), 0);
    int32_t* acc = line.data();
    const __m128i zero = _mm_setzero_si128();
    for (int64_t sy = rows.first; sy <= rows.last; sy += 2) {
        const bool pair = sy + 1 <= rows.last;
        const int wa = static_cast<int>(rows.weights[static_cast<size_t>(sy - rows.first)]);
        const int wb = pair ? static_cast<int>(rows.weights[static_cast<size_t>(sy + 1 - rows.first)]) : 0;
        const uint8_t* a = src + sy * rowBytes;
        const uint8_t* b = pair ? a + rowBytes : a;
        const __m128i weights = _mm_unpacklo_epi16(_mm_set1_epi16(static_cast<short>(wa)),
                                                   _mm_set1_epi16(static_cast<short>(wb)));
        int64_t i = 0;
        for (; i + 16 <= rowBytes; i += 16) {
            const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
            const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
            const __m128i alo = _mm_unpacklo_epi8(va, zero), ahi = _mm_unpackhi_epi8(va, zero);
            const __m128i blo = _mm_unpacklo_epi8(vb, zero), bhi = _mm_unpackhi_epi8(vb, zero);
            __m128i* out = reinterpret_cast<__m128i*>(acc + i);
            const __m128i sums[4] = {_mm_madd_epi16(_mm_unpacklo_epi16(alo, blo), weights),
                                     _mm_madd_epi16(_mm_unpackhi_epi16(alo, blo), weights),
                                     _mm_madd_epi16(_mm_unpacklo_epi16(ahi, bhi), weights),
                                     _mm_madd_epi16(_mm_unpackhi_epi16(ahi, bhi), weights)};
            for (int k = 0; k < 4; ++k) _mm_storeu_si128(out + k, _mm_add_epi32(_mm_loadu_si128(out + k), sums[k]));
        }
        for (; i < rowBytes; ++i) acc[i] += wa * a[i] + wb * b[i];
    }
}

// The same on AVX2, 16 bytes of each row widened to 16-bit lanes per step. The in-lane unpacks give
// bytes 0..3 and 8..11, then 4..7 and 12..15; the two halves are put back in order before adding.
__attribute__((target("avx2"))) void sumRows32Avx2(const uint8_t* src, int64_t rowBytes, const Box& rows,
                                                   std::vector<int32_t>& line) {
    std::fill(line.begin(), line.end(), 0);
    int32_t* acc = line.data();
    for (int64_t sy = rows.first; sy <= rows.last; sy += 2) {
        const bool pair = sy + 1 <= rows.last;
        const int wa = static_cast<int>(rows.weights[static_cast<size_t>(sy - rows.first)]);
        const int wb = pair ? static_cast<int>(rows.weights[static_cast<size_t>(sy + 1 - rows.first)]) : 0;
        const uint8_t* a = src + sy * rowBytes;
        const uint8_t* b = pair ? a + rowBytes : a;
        const __m256i weights = _mm256_unpacklo_epi16(_mm256_set1_epi16(static_cast<short>(wa)),
                                                      _mm256_set1_epi16(static_cast<short>(wb)));
        int64_t i = 0;
        for (; i + 16 <= rowBytes; i += 16) {
            const __m256i va = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i)));
            const __m256i vb = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i)));
            const __m256i lo = _mm256_madd_epi16(_mm256_unpacklo_epi16(va, vb), weights);  // 0..3, 8..11
            const __m256i hi = _mm256_madd_epi16(_mm256_unpackhi_epi16(va, vb), weights);  // 4..7, 12..15
            __m256i* out = reinterpret_cast<__m256i*>(acc + i);
            const __m256i first = _mm256_permute2x128_si256(lo, hi, 0x20);
            const __m256i second = _mm256_permute2x128_si256(lo, hi, 0x31);
            _mm256_storeu_si256(out, _mm256_add_epi32(_mm256_loadu_si256(out), first));
            _mm256_storeu_si256(out + 1, _mm256_add_epi32(_mm256_loadu_si256(out + 1), second));
        }
        for (; i < rowBytes; ++i) acc[i] += wa * a[i] + wb * b[i];
    }
}
#endif

template <class Sum>
void sumColumns(const Sum* line, const std::vector<Box>& columns, const Box& rows, const uint8_t* src,
                int64_t ws, uint8_t* d) {
    for (const Box& cb : columns) {
        const int64_t total = cb.total * rows.total;
        if (total == 0) {
            // No source pixel weighs in (a box beyond twice the size is empty): its first pixel.
            const uint8_t* s = src + (rows.first * ws + cb.first) * 3;
            d[0] = s[0], d[1] = s[1], d[2] = s[2];
        } else {
            int64_t sum[3] = {0, 0, 0};
            for (int64_t sx = cb.first; sx <= cb.last; ++sx) {
                const int64_t wx = cb.weights[static_cast<size_t>(sx - cb.first)];
                const Sum* p = line + sx * 3;
                sum[0] += wx * p[0];
                sum[1] += wx * p[1];
                sum[2] += wx * p[2];
            }
            for (int k = 0; k < 3; ++k) d[k] = static_cast<uint8_t>(sum[k] / total);
        }
        d += 3;
    }
}

}  // namespace

bool resampleImageBox(cImage& dst, const cImage& src) {
    if (!dst.HasPixels() || !src.HasPixels()) return false;
    if (dst.bytesPerPixel != 3 || src.bytesPerPixel != 3) return false;
    if (dst.width < 1 || dst.height < 1 || src.width < 1 || src.height < 1) return false;
    const int64_t ws = src.width, hs = src.height, wd = dst.width, hd = dst.height;
    const int64_t rowBytes = ws * 3;
    const std::vector<Box> columns = boxesOf(ws, wd);
    const std::vector<Box> rows = boxesOf(hs, hd);
    std::vector<int64_t> line64;
    std::vector<int32_t> line32;
    for (int64_t y = 0; y < hd; ++y) {
        const Box& rb = rows[static_cast<size_t>(y)];
        uint8_t* d = dst.pixels + y * wd * 3;
#ifdef MORVANE_PIXEL_SIMD
        if (simdAvailable() && fits32(rb)) {
            line32.resize(static_cast<size_t>(rowBytes));
            if (avx2Available())
                sumRows32Avx2(src.pixels, rowBytes, rb, line32);
            else
                sumRows32Vector(src.pixels, rowBytes, rb, line32);
            sumColumns(line32.data(), columns, rb, src.pixels, ws, d);
            continue;
        }
#endif
        line64.resize(static_cast<size_t>(rowBytes));
        sumRows64(src.pixels, rowBytes, rb, line64);
        sumColumns(line64.data(), columns, rb, src.pixels, ws, d);
    }
    return true;
}
