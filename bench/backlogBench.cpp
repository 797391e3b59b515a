// A page pass of the backlog over entries of a normal game and over a hostile save's huge ones
// (eight entries of 4 MB names and texts): the glyphs rendered and the time of one pass; the page's
// clear alone as the part that does not depend on the entries.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "base/moduleState.h"
#include "graphics/image.h"
#include "graphics/text/glyphSource.h"
#include "graphics/text/textOut.h"
#include "presentation/backlog.h"
#include "presentation/backlogPage.h"

namespace {
// Renders nothing; counts the glyphs asked for, with the advances of an 18-pixel font.
class CountingGlyphs : public cGlyphSource {
public:
    FontHandle MakeFont(const FontSpec&) override { return this; }
    void FreeFont(FontHandle) override {}
    bool Render(FontHandle, uint32_t code, double) override {
        ++renders;
        m_code = code;
        return true;
    }
    int32_t AdvanceX() const override { return m_code > 0xFF ? 18 : 9; }
    int32_t AdvanceY() const override { return 0; }
    bool Blit(cImage&, int32_t, int32_t, uint8_t, uint8_t, uint8_t) override { return true; }
    int64_t renders = 0;

private:
    uint32_t m_code = 0;
};

void pagePass(benchmark::State& state, size_t bytes) {
    resetEngineState();
    const std::string name(bytes / 16 + 2, 'N');
    const std::string text(bytes, 'T');
    for (int i = 0; i < mLogBox::kPageRows; ++i) mLogBox::AddEntry(name.c_str(), text.c_str());
    CountingGlyphs glyphs;
    setTextGlyphs(&glyphs);
    cSprite page;
    page.Create(4, mLogBox::kPageWidth, mLogBox::kPageHeight);
    cTextOut pen;
    mLogBox::setUpPagePen(pen);
    for (auto _ : state) benchmark::DoNotOptimize(mLogBox::drawPage(page, pen, 0));
    state.counters["glyphs"] =
        static_cast<double>(glyphs.renders) / static_cast<double>(state.iterations());
    setTextGlyphs(nullptr);
    resetEngineState();
}

void BM_BacklogPagePass(benchmark::State& state) { pagePass(state, 40); }
BENCHMARK(BM_BacklogPagePass)->Unit(benchmark::kMicrosecond);

void BM_BacklogPagePassHugeEntries(benchmark::State& state) { pagePass(state, size_t(4) << 20); }
BENCHMARK(BM_BacklogPagePassHugeEntries)->Unit(benchmark::kMicrosecond);

// The part of a pass that does not depend on the entries: the page's pixels cleared.
void BM_BacklogPageClear(benchmark::State& state) {
    cSprite page;
    page.Create(4, mLogBox::kPageWidth, mLogBox::kPageHeight);
    for (auto _ : state) {
        std::memset(page.pixels, 0, static_cast<size_t>(page.ByteCount()));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BacklogPageClear)->Unit(benchmark::kMicrosecond);
}  // namespace
