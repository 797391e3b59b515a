// A glyph source with fixed advances for layout tests: it renders nothing real, records every font
// it makes and every glyph it draws, and advances 24 pixels for a double-byte code and 12 for a
// single byte at scale 1 (scaled and truncated otherwise), unless a test sets a code's advance.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "graphics/image.h"
#include "graphics/text/glyphSource.h"

class cFakeGlyphs : public cGlyphSource {
public:
    struct Font {
        FontSpec spec;
        std::string face;
        bool freed = false;
    };
    struct Drawn {
        uint32_t code;
        int font;  // index into fonts, -1 for none
        double scale;
        int32_t x, y;
        uint8_t r, g, b;
    };

    FontHandle MakeFont(const FontSpec& spec) override {
        Font f;
        f.spec = spec;
        f.face = spec.face ? spec.face : "";
        fonts.push_back(f);
        return reinterpret_cast<FontHandle>(static_cast<uintptr_t>(fonts.size()));
    }
    void FreeFont(FontHandle font) override {
        int i = IndexOf(font);
        if (i >= 0) fonts[static_cast<size_t>(i)].freed = true;
    }
    bool Render(FontHandle font, uint32_t code, double scale) override {
        int i = IndexOf(font);
        if (i < 0 || code == 0) {
            m_ok = false;
            m_advance = 0;
            return false;
        }
        m_ok = true;
        m_code = code;
        m_font = i;
        m_scale = scale;
        auto it = advances.find(code);
        int32_t base = it != advances.end() ? it->second : (code > 0xFF ? 24 : 12);
        m_advance = static_cast<int32_t>(base * scale);
        ++renders;
        return true;
    }
    int32_t AdvanceX() const override { return m_advance; }
    int32_t AdvanceY() const override { return 0; }
    bool Blit(cImage& image, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) override {
        if (!m_ok) return true;
        drawn.push_back({m_code, m_font, m_scale, x, y, r, g, b});
        // One marked pixel at the cell's top-left, so pixel tests can see where glyphs went.
        if (image.HasPixels() && x >= 0 && y >= 0 && x < image.width && y < image.height) {
            uint8_t* p = image.pixels + (static_cast<int64_t>(y) * image.width + x) * image.bytesPerPixel;
            for (int k = 0; k < image.bytesPerPixel; ++k) p[k] = 0xFF;
        }
        return true;
    }

    int IndexOf(FontHandle font) const {
        uintptr_t v = reinterpret_cast<uintptr_t>(font);
        if (v == 0 || v > fonts.size()) return -1;
        return static_cast<int>(v - 1);
    }
    // The glyphs drawn in the text colour (every second one when shadows are on is the shadow).
    std::vector<Drawn> Coloured(uint8_t r, uint8_t g, uint8_t b) const {
        std::vector<Drawn> out;
        for (const Drawn& d : drawn)
            if (d.r == r && d.g == g && d.b == b) out.push_back(d);
        return out;
    }

    std::vector<Font> fonts;
    std::vector<Drawn> drawn;
    std::map<uint32_t, int32_t> advances;
    int renders = 0;

private:
    bool m_ok = false;
    uint32_t m_code = 0;
    int m_font = -1;
    double m_scale = 1;
    int32_t m_advance = 0;
};
