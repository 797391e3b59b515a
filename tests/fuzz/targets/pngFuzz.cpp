// PNG decoding: an input is a whole PNG file, decoded from memory into a sprite that may still
// hold the picture of the input before.
#include "graphics/image.h"
#include "graphics/png/pngLoader.h"
#include "fuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static cSprite image;
    image.SetName("picture");
    const uint8_t* beforePixels = image.pixels;
    const int32_t beforeWidth = image.width, beforeHeight = image.height;
    cPngMemorySource source(data, size);
    cPngLoader loader;
    if (loader.LoadFrom(source, image)) {
        FUZZ_CHECK(image.HasPixels());
        FUZZ_CHECK(image.bytesPerPixel >= 1 && image.bytesPerPixel <= 4);
        FUZZ_CHECK(image.width > 0 && image.height > 0 && image.pitch == image.width);
        FUZZ_CHECK(image.ByteCount() <= cPngLoader::kMaxImageBytes);
        // Every pixel byte is written (zero where the data ended early) and readable.
        uint32_t sum = 0;
        const uint64_t bytes = image.ByteCount();
        for (uint64_t i = 0; i < bytes; i += 61) sum += image.pixels[i];
        (void)sum;
    } else {
        // A failed load never leaves a half-decoded picture behind: the sprite is either released
        // or, when the image was never made, untouched.
        const bool untouched = image.pixels == beforePixels && image.width == beforeWidth &&
                               image.height == beforeHeight;
        FUZZ_CHECK(!image.HasPixels() || untouched);
    }
    return 0;
}
