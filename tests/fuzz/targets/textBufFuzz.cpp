// Text files cut into lines and lines cut into words: an input is a whole text file, loaded from
// the data folder and also given as a text.
#include <cstring>
#include <string>
#include <vector>

#include "files/textBuf.h"
#include "fuzzFiles.h"

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The lines of a text as the file rules state them: the text ends at its first NUL; at each
// line the blanks and tabs that begin it are skipped and those that end the whole text are
// removed; a line ends at CR, which takes one LF after it along; a final CR adds no empty line.
std::vector<std::string> expectedLines(const std::string& whole) {
    const std::string text = whole.c_str();
    size_t end = text.size();  // the text is NUL from here on
    std::vector<std::string> lines;
    size_t p = 0;
    while (p < end) {
        while (p < end && isBlank(text[p])) ++p;
        while (end > 0 && isBlank(text[end - 1])) --end;
        const size_t from = p < end ? p : end;
        const size_t cr = text.find('\r', from);
        if (cr == std::string::npos || cr >= end) {
            lines.push_back(text.substr(from, end - from));
            break;
        }
        lines.push_back(text.substr(from, cr - from));
        p = cr + 1;
        if (p < end && text[p] == '\n') ++p;
    }
    return lines;
}

// The words of a line: each run of blanks and tabs is skipped, then a word runs to the next blank,
// tab or the end; a line of blanks only, or one ending in two or more, ends with one empty word.
std::vector<std::string> expectedWords(const std::string& line) {
    std::vector<std::string> words;
    if (line.empty()) return words;
    size_t p = 0;
    for (;;) {
        while (p < line.size() && isBlank(line[p])) ++p;
        const size_t start = p;
        while (p < line.size() && !isBlank(line[p])) ++p;
        words.push_back(line.substr(start, p - start));
        if (p < line.size()) ++p;
        if (p >= line.size()) return words;
    }
}
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
    const std::vector<std::string> lines = expectedLines(text);
    FUZZ_CHECK(buf.LineCount() == lines.size());

    cParams params;
    for (size_t i = 0; i < buf.LineCount(); ++i) {
        const char* line = buf.Line(i);
        FUZZ_CHECK(line != nullptr);
        FUZZ_CHECK(!isBlank(*line));
        for (const char* p = line; *p; ++p) FUZZ_CHECK(*p != '\r');
        vstring copy;
        FUZZ_CHECK(buf.GetLine(i, copy));
        FUZZ_CHECK(copy == vstring(line));

        FUZZ_CHECK(lines[i] == line);

        params.Parse(line);
        const std::vector<std::string> words = expectedWords(line);
        FUZZ_CHECK(params.Count() == static_cast<int>(words.size()));
        for (int t = 0; t < params.Count(); ++t) FUZZ_CHECK(words[static_cast<size_t>(t)] == params.Get(t));
        for (int t = 0; t < params.Count(); ++t) {
            const char* token = params.Get(t);
            for (const char* p = token; *p; ++p) FUZZ_CHECK(!isBlank(*p));
            decimalValue(token);
        }
        FUZZ_CHECK(*params.Get(-1) == 0 && *params.Get(params.Count()) == 0);
    }
    // The same text loaded from a file: a file of any size above 0 loads (a first NUL gives no
    // line), and it holds the same lines.
    FuzzFolder& folder = FuzzFolder::get();
    FuzzFolder::write(folder.data() + "text/file.txt", data, size);
    cTextBuf loaded;
    FUZZ_CHECK(loaded.Load("text", "file.txt") == (size > 0));
    FUZZ_CHECK(loaded.LineCount() == buf.LineCount());
    for (size_t i = 0; i < buf.LineCount(); ++i) FUZZ_CHECK(std::strcmp(loaded.Line(i), buf.Line(i)) == 0);

    vstring past("kept");
    FUZZ_CHECK(!buf.GetLine(buf.LineCount(), past) && past == vstring("kept"));
    FUZZ_CHECK(buf.Line(buf.LineCount()) == nullptr);
    // Any text as one line.
    params.Parse(text.c_str());
    const std::vector<std::string> words = expectedWords(text.c_str());
    FUZZ_CHECK(params.Count() == static_cast<int>(words.size()));
    for (int t = 0; t < params.Count(); ++t) FUZZ_CHECK(words[static_cast<size_t>(t)] == params.Get(t));
    decimalValue(text.c_str());
    return 0;
}
