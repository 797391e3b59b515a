// PNG decoding: an input is a whole PNG file, decoded from memory into a sprite that may still
// hold the picture of the input before, and loaded as a data file into another, which must get
// the same result. Whenever libpng also decodes the file (CRCs ignored, as
// this decoder does), every pixel must agree with libpng's.
#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/image.h"
#include "graphics/png/pngLoader.h"
#include "fuzzFiles.h"

namespace {
struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at;
};

void readBytes(png_structp png, png_bytep out, png_size_t n) {
    Reader* r = static_cast<Reader*>(png_get_io_ptr(png));
    if (n > r->size - r->at) png_error(png, "truncated");
    std::memcpy(out, r->data + r->at, n);
    r->at += n;
}
uint32_t bigEndianAt(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Pixel bytes of the image a header at its usual place asks for (0 when there is none there).
// Images between 16 MB and the decoder's limit are accepted by design and only cost time and
// memory; the fuzzer skips them to keep its pace (the limit itself is still met above it).
uint64_t headerImageBytes(const uint8_t* data, size_t size) {
    if (size < 26 || std::memcmp(data + 12, "IHDR", 4) != 0) return 0;
    const uint8_t colourType = data[25];
    const uint64_t bpp = colourType == 0 ? 1 : colourType == 2 ? 3 : colourType == 4 ? 2 : 4;
    return uint64_t(bigEndianAt(data + 16)) * bigEndianAt(data + 20) * bpp;
}

void quietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void quietWarning(png_structp, png_const_charp) {}

// libpng's allocations: a chunk needs no more than the file holds and a row buffer no more than a
// row, so a chunk length that lies fails in libpng instead of allocating gigabytes.
size_t gLibpngAllocLimit = 0;
png_voidp boundedMalloc(png_structp, png_alloc_size_t n) {
    return n > gLibpngAllocLimit ? nullptr : std::malloc(n);
}
void plainFree(png_structp, png_voidp p) { std::free(p); }

// libpng's decoding of an 8-bit, non-interlaced grey, RGB, grey-alpha or RGBA file, in PNG byte
// order; false for anything else or any error. The storage lives with the caller, so the jump
// out of an error skips no destructor.
bool libpngDecode(const uint8_t* data, size_t size, uint64_t rowBytes, std::vector<uint8_t>& pixels,
                  std::vector<png_bytep>& rows, png_uint_32& width, png_uint_32& height, int& bpp) {
    Reader reader{data, size, 0};
    gLibpngAllocLimit = size + (64 << 10) + 2 * size_t(rowBytes);
    png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, quietError,
                                               quietWarning, nullptr, boundedMalloc, plainFree);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, readBytes);
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
    png_read_info(png, info);
    int depth, colourType, interlace;
    png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
    bpp = colourType == PNG_COLOR_TYPE_GRAY ? 1 : colourType == PNG_COLOR_TYPE_RGB ? 3
        : colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2 : colourType == PNG_COLOR_TYPE_RGBA ? 4 : 0;
    if (depth != 8 || interlace != PNG_INTERLACE_NONE || bpp == 0 ||
        uint64_t(width) * height * bpp > cPngLoader::kMaxImageBytes) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    // The image itself is stored by the caller's vector, not through libpng's allocator.
    pixels.assign(size_t(width) * height * bpp, 0);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + size_t(y) * width * bpp;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}
// The input as the data file "img\pic.png": it loads exactly when the decoding from memory did,
// into the same pixels.
void loadFileAndCompare(const uint8_t* data, size_t size, const cSprite* decoded) {
    FuzzFolder& folder = FuzzFolder::get();
    FuzzFolder::write(folder.data() + "img/pic.png", data, size);
    cSprite fromFile;
    cPngLoader loader;
    const bool loaded = loader.Load("img", "pic.png", fromFile);
    FUZZ_CHECK(loaded == (decoded != nullptr));
    if (!decoded) return;
    FUZZ_CHECK(fromFile.bytesPerPixel == decoded->bytesPerPixel && fromFile.width == decoded->width &&
               fromFile.height == decoded->height);
    FUZZ_CHECK(std::memcmp(fromFile.pixels, decoded->pixels, decoded->ByteCount()) == 0);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint64_t asked = headerImageBytes(data, size);
    if (asked > (uint64_t(1) << 24) && asked <= cPngLoader::kMaxImageBytes) return 0;
    static cSprite image;
    image.SetName("picture");
    const uint8_t* beforePixels = image.pixels;
    const int32_t beforeWidth = image.width, beforeHeight = image.height;
    cPngMemorySource source(data, size);
    cPngLoader loader;
    if (!loader.LoadFrom(source, image)) {
        // A failed load never leaves a half-decoded picture behind: the sprite is either released
        // or, when the image was never made, untouched.
        const bool untouched = image.pixels == beforePixels && image.width == beforeWidth &&
                               image.height == beforeHeight;
        FUZZ_CHECK(!image.HasPixels() || untouched);
        loadFileAndCompare(data, size, nullptr);
        return 0;
    }
    loadFileAndCompare(data, size, &image);
    FUZZ_CHECK(image.HasPixels());
    FUZZ_CHECK(image.bytesPerPixel >= 1 && image.bytesPerPixel <= 4);
    FUZZ_CHECK(image.width > 0 && image.height > 0 && image.pitch == image.width);
    FUZZ_CHECK(image.ByteCount() <= cPngLoader::kMaxImageBytes);
    FUZZ_CHECK(image.Name() == vstring("picture"));

    std::vector<uint8_t> expected;
    std::vector<png_bytep> rows;
    png_uint_32 width = 0, height = 0;
    int bpp = 0;
    const uint64_t rowBytes = uint64_t(image.width) * image.bytesPerPixel + 1;
    if (!libpngDecode(data, size, rowBytes, expected, rows, width, height, bpp)) return 0;
    FUZZ_CHECK(int64_t(width) == image.width && int64_t(height) == image.height);
    FUZZ_CHECK(bpp == image.bytesPerPixel);
    // This program's pixels hold the PNG's bytes of each pixel in reverse order.
    const size_t count = size_t(width) * height;
    for (size_t i = 0; i < count; ++i)
        for (int k = 0; k < bpp; ++k)
            FUZZ_CHECK(image.pixels[i * bpp + k] == expected[i * bpp + (bpp - 1 - k)]);
    return 0;
}
