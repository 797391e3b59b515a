// Image classes, screen canvases and the whole-screen operations.
#include <cstdint>
#include <cstring>

#include "base/present.h"
#include "config/systemInfo.h"
#include "graphics/graphics.h"
#include "graphics/image.h"
#include "graphics/screen.h"
#include "screenSizeGuard.h"
#include "testing.h"

TEST(Image, CreateAlignsAndFailsOnEmptySizes) {
    for (int bpp = 1; bpp <= 4; ++bpp) {
        for (int w = 1; w < 10; ++w) {
            cSprite s;
            ASSERT_TRUE(s.Create(static_cast<uint8_t>(bpp), w, 3));
            EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(s.pixels) % 8);
            EXPECT_EQ(w, s.pitch);
            EXPECT_EQ(uint64_t(w) * 3 * bpp, s.ByteCount());
            std::memset(s.pixels, 1, s.ByteCount() + 7);  // the spare bytes are part of the storage
        }
    }
    cSprite s;
    ASSERT_TRUE(s.Create(3, 4, 4));
    EXPECT_FALSE(s.Create(3, 0, 4));
    EXPECT_EQ(nullptr, s.pixels);
    EXPECT_EQ(0, s.width);
    EXPECT_EQ(4, s.height);
    EXPECT_EQ(3, s.bytesPerPixel);
    EXPECT_FALSE(s.Create(4, 5, 0));
    EXPECT_FALSE(s.Create(0, 5, 5));
    EXPECT_FALSE(s.Create(4, -5, 5));
    EXPECT_FALSE(s.Create(4, 0x7FFFFFFF, 0x7FFFFFFF));  // beyond the storage limit
    EXPECT_EQ(nullptr, s.pixels);
    EXPECT_FALSE(s.HasPixels());
    s.Release();
    EXPECT_EQ(0, s.bytesPerPixel);
    EXPECT_EQ(0, s.width);
    EXPECT_EQ(0, s.height);
    EXPECT_EQ(0, s.pitch);
}

TEST(Image, IsOpaqueAt) {
    cSprite g, ga, c, ca, none;
    ASSERT_TRUE(g.Create(1, 2, 2));
    ASSERT_TRUE(ga.Create(2, 2, 2));
    ASSERT_TRUE(c.Create(3, 2, 2));
    ASSERT_TRUE(ca.Create(4, 2, 2));
    std::memset(g.pixels, 0, 4);
    std::memset(c.pixels, 0, 12);
    const uint8_t gaPx[8] = {0, 255, 9, 0, 0, 0, 1, 0};
    std::memcpy(ga.pixels, gaPx, 8);
    std::memset(ca.pixels, 0, 16);
    ca.pixels[4 * 3] = 200;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            EXPECT_TRUE(g.IsOpaqueAt(x, y));
            EXPECT_TRUE(c.IsOpaqueAt(x, y));
        }
    EXPECT_FALSE(ga.IsOpaqueAt(0, 0));  // byte 0 is the alpha, 0
    EXPECT_TRUE(ga.IsOpaqueAt(1, 0));
    EXPECT_FALSE(ga.IsOpaqueAt(0, 1));
    EXPECT_TRUE(ga.IsOpaqueAt(1, 1));
    EXPECT_FALSE(ca.IsOpaqueAt(0, 0));
    EXPECT_TRUE(ca.IsOpaqueAt(1, 1));
    for (const cSprite* s : {&g, &ga, &c, &ca}) {
        EXPECT_FALSE(s->IsOpaqueAt(-1, 0));
        EXPECT_FALSE(s->IsOpaqueAt(0, -1));
        EXPECT_FALSE(s->IsOpaqueAt(2, 0));
        EXPECT_FALSE(s->IsOpaqueAt(0, 2));
    }
    EXPECT_FALSE(none.IsOpaqueAt(0, 0));
}

TEST(Image, SpriteAssignment) {
    cSprite loaded, target;
    ASSERT_TRUE(loaded.Create(4, 3, 2));
    for (int i = 0; i < 24; ++i) loaded.pixels[i] = static_cast<uint8_t>(i);
    loaded.SetName("a.png");
    target.SetName("b.png");
    target = loaded;
    ASSERT_TRUE(target.HasPixels());
    EXPECT_NE(loaded.pixels, target.pixels);
    EXPECT_EQ(0, std::memcmp(loaded.pixels, target.pixels, 24));
    EXPECT_EQ(3, target.width);
    EXPECT_STREQ("b.png", target.Name().c_str());  // the name is not copied
    // Same byte count, other shape: storage kept, fields taken.
    cSprite other;
    ASSERT_TRUE(other.Create(3, 4, 2));
    std::memset(other.pixels, 0xAB, 24);
    uint8_t* storage = target.pixels;
    target = other;
    EXPECT_EQ(storage, target.pixels);
    EXPECT_EQ(3, target.bytesPerPixel);
    EXPECT_EQ(4, target.width);
    EXPECT_EQ(0xAB, target.pixels[23]);
    // Self-assignment changes nothing.
    target = *&target;
    EXPECT_EQ(0xAB, target.pixels[0]);
    // An empty source releases the target, name included.
    cSprite empty;
    target = empty;
    EXPECT_FALSE(target.HasPixels());
    EXPECT_EQ(0, target.width);
    EXPECT_STREQ("", target.Name().c_str());
    // A source with sizes but no pixels neither reads nor writes through null.
    cSprite failed;
    EXPECT_FALSE(failed.Create(3, 5, 0));
    failed.height = 2;  // sizes as a failed allocation would leave them
    failed.width = failed.pitch = 5;
    cSprite t2;
    ASSERT_TRUE(t2.Create(3, 5, 2));
    t2 = failed;
    EXPECT_FALSE(t2.HasPixels());
    // A target with sizes but no pixels gets new storage.
    cSprite t3;
    EXPECT_FALSE(t3.Create(4, 0, 2));
    t3.width = t3.pitch = 3;
    t3 = loaded;
    ASSERT_TRUE(t3.HasPixels());
    EXPECT_EQ(0, std::memcmp(loaded.pixels, t3.pixels, 24));
    // Copy construction.
    cSprite copy(loaded);
    EXPECT_EQ(0, std::memcmp(loaded.pixels, copy.pixels, 24));
}

TEST(Image, ScreenCanvasesAndBitmapInfo) {
    ScreenSize size(20, 10);
    ASSERT_TRUE(createScreenCanvases());
    for (cCanvas* c : {&gBackBuffer, &gNextScreen, &gPrevScreen}) {
        EXPECT_EQ(3, c->bytesPerPixel);
        EXPECT_EQ(20, c->width);
        EXPECT_EQ(10, c->height);
        EXPECT_EQ(20, c->pitch);
        EXPECT_NE(nullptr, c->pixels);
    }
    // 40-byte header then one zero colour entry, little-endian.
    uint8_t expected[44] = {};
    expected[0] = 40;
    expected[4] = 20;
    const int32_t negativeHeight = -10;
    std::memcpy(expected + 8, &negativeHeight, 4);
    expected[12] = 1;
    expected[14] = 24;
    EXPECT_EQ(0, std::memcmp(expected, &gScreenBitmapInfo, 44));
    gBackBuffer.Release();
    gNextScreen.Release();
    gPrevScreen.Release();
    EXPECT_FALSE(gBackBuffer.HasPixels());
}

TEST(Image, FillRgbAndCopyScreenStayInsideTheImages) {
    ScreenSize size(8, 4);
    cCanvas a, b, small;
    ASSERT_TRUE(a.CreateScreen());
    ASSERT_TRUE(b.CreateScreen());
    ASSERT_TRUE(small.Create(3, 2, 2));
    ASSERT_TRUE(a.FillRgb(10, 20, 30));
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(30, a.pixels[i * 3]);
        EXPECT_EQ(20, a.pixels[i * 3 + 1]);
        EXPECT_EQ(10, a.pixels[i * 3 + 2]);
    }
    ASSERT_TRUE(b.FillRgb(0, 0, 0));
    ASSERT_TRUE(gGraphics.CopyScreen(b, a));
    EXPECT_EQ(0, std::memcmp(a.pixels, b.pixels, 96));
    // A canvas smaller than the screen: only its own pixels are touched (checked by the sanitizers).
    ASSERT_TRUE(small.FillRgb(1, 2, 3));
    EXPECT_EQ(3, small.pixels[9]);
    ASSERT_TRUE(gGraphics.CopyScreen(small, a));
    ASSERT_TRUE(gGraphics.CopyScreen(a, small));
    EXPECT_EQ(30, a.pixels[12]);  // past the small canvas's 12 bytes: unchanged
    cCanvas none;
    EXPECT_FALSE(none.FillRgb(1, 2, 3));
    EXPECT_FALSE(gGraphics.CopyScreen(none, a));
    EXPECT_FALSE(gGraphics.CopyScreen(a, none));
    // White fill over a larger pattern run.
    ScreenSize big(100, 3);
    cCanvas wide;
    ASSERT_TRUE(wide.CreateScreen());
    ASSERT_TRUE(wide.FillRgb(1, 2, 3));
    for (int i = 0; i < 300; ++i) ASSERT_EQ(3, wide.pixels[i * 3]) << i;
}

TEST(Image, MaskCreateScreen) {
    ScreenSize size(6, 5);
    cMask m;
    ASSERT_TRUE(m.CreateScreen());
    EXPECT_EQ(1, m.bytesPerPixel);
    EXPECT_EQ(6, m.width);
    EXPECT_EQ(5, m.height);
    m.Release();
    EXPECT_FALSE(m.HasPixels());
    EXPECT_EQ(0, m.width);
}

namespace {
const uint8_t* gPresented = nullptr;
bool fakeFullScreen(const uint8_t* pixels) {
    gPresented = pixels;
    return false;
}
}  // namespace

TEST(Image, PresentHandsThePixelsToTheFullScreenPresenter) {
    cCanvas c;
    ASSERT_TRUE(c.Create(3, 4, 4));
    setPresentHooks(nullptr, fakeFullScreen);
    EXPECT_TRUE(gGraphics.Present(c));  // true even when the frame is dropped
    EXPECT_EQ(c.pixels, gPresented);
    setPresentHooks(nullptr, nullptr);
    cCanvas none;
    EXPECT_TRUE(gGraphics.Present(none));
}
