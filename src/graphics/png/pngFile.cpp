// The decoder over a data file.
#include "files/dataFile.h"
#include "graphics/png/pngLoader.h"

namespace {
class cDataFileSource : public cPngSource {
public:
    explicit cDataFileSource(cFile& file) : m_file(file) {}
    bool Read(void* dst, uint32_t n) override { return n == 0 || m_file.Read(dst, n); }
    uint64_t Remaining() const override { return m_file.Remaining(); }

private:
    cFile& m_file;
};
}  // namespace

bool cPngLoader::Load(const char* folder, const char* name, cSprite& image) {
    Reset();
    m_inflatedWhole = false;
    cFile file;
    if (!file.Open(folder, name)) return false;
    cDataFileSource source(file);
    return LoadFrom(source, image);
}
