// Text files cut into lines and lines cut into words: an input is a whole text file.
#include <string>

#include "files/textBuf.h"
#include "fuzzInput.h"

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The text ends at its first NUL, as a loaded file does.
    const std::string text(reinterpret_cast<const char*>(data), size);
    cTextBuf buf;
    const bool ok = buf.SetText(text.c_str());
    FUZZ_CHECK(ok == (size > 0 && data[0] != 0));
    size_t crs = 0;
    for (char c : std::string(text.c_str())) crs += c == '\r';
    FUZZ_CHECK(buf.LineCount() <= crs + 1);

    cParams params;
    for (size_t i = 0; i < buf.LineCount(); ++i) {
        const char* line = buf.Line(i);
        FUZZ_CHECK(line != nullptr);
        FUZZ_CHECK(!isBlank(*line));
        for (const char* p = line; *p; ++p) FUZZ_CHECK(*p != '\r');
        vstring copy;
        FUZZ_CHECK(buf.GetLine(i, copy));
        FUZZ_CHECK(copy == vstring(line));

        params.Parse(line);
        for (int t = 0; t < params.Count(); ++t) {
            const char* token = params.Get(t);
            for (const char* p = token; *p; ++p) FUZZ_CHECK(!isBlank(*p));
            decimalValue(token);
        }
        FUZZ_CHECK(*params.Get(-1) == 0 && *params.Get(params.Count()) == 0);
    }
    vstring past("kept");
    FUZZ_CHECK(!buf.GetLine(buf.LineCount(), past) && past == vstring("kept"));
    FUZZ_CHECK(buf.Line(buf.LineCount()) == nullptr);
    decimalValue(text.c_str());
    return 0;
}
