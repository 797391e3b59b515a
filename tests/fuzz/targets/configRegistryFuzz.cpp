// The configuration registry: an input is one or more configuration files (NUL bytes separate
// them, parsed in order). They are put in the data folder with a list naming them and loaded
// from there; the registry must be the one the rules give, is walked whole through the section
// lookups, and the readers of the program's own sections (system information, speakers and
// voices) run over it.
#include <map>
#include <string>

#include "config/registry.h"
#include "config/systemInfo.h"
#include "files/textBuf.h"
#include "base/settings.h"
#include "presentation/msgSpeakers.h"
#include "fuzzFiles.h"

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string upperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The registry as the file rules state it, names in upper case: per file, the current section and
// subsection start empty; "[" lines up to the first "]" select them ([A.B], [A], [.B], [A.]; a
// header without "]" clears both); key lines count under a non-empty pair, the key cut at its
// first blank, the value the first word after "="; the first definition wins.
using Expected = std::map<std::string, std::map<std::string, std::map<std::string, std::string>>>;

void expectFile(const cTextBuf& file, Expected& out) {
    std::string section, subsection;
    for (size_t i = 0; i < file.LineCount(); ++i) {
        const std::string line = file.Line(i);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const size_t close = line.find(']', 1);
            if (close == std::string::npos) {
                section.clear();
                subsection.clear();
                continue;
            }
            const std::string inside = line.substr(1, close - 1);
            const size_t dot = inside.find('.');
            const std::string part = inside.substr(0, dot);
            if (!part.empty()) {
                section = part;
                subsection.clear();
            }
            if (dot != std::string::npos && dot + 1 < inside.size()) subsection = inside.substr(dot + 1);
            continue;
        }
        if (section.empty() || subsection.empty()) continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        size_t keyEnd = 0;
        while (keyEnd < equals && !isBlank(line[keyEnd])) ++keyEnd;
        size_t v = equals + 1;
        while (v < line.size() && isBlank(line[v])) ++v;
        size_t vEnd = v;
        while (vEnd < line.size() && !isBlank(line[vEnd])) ++vEnd;
        out[upperAscii(section)][upperAscii(subsection)].emplace(upperAscii(line.substr(0, keyEnd)),
                                                                line.substr(v, vEnd - v));
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFolder& folder = FuzzFolder::get();
    FuzzInput input(data, size);
    Expected expected;
    std::string list;
    // At most eight files: the eighth holds the rest, NUL bytes and all (its text ends at the
    // first of them).
    for (int i = 0; input.Left() > 0; ++i) {
        const std::string file = i < 7 ? input.Text()
                                       : std::string(reinterpret_cast<const char*>(input.Rest()),
                                                     input.Left());
        if (i == 7) input = FuzzInput(nullptr, 0);
        const std::string name = "c" + std::to_string(i) + ".txt";
        FuzzFolder::write(folder.data() + "config/" + name, file.data(), file.size());
        list += name + "\r\n";
        cTextBuf buf;
        if (buf.SetText(file.c_str())) expectFile(buf, expected);
    }
    FuzzFolder::write(folder.data() + "config/config.txt", list.data(), list.size());
    gConfigRegistry.clear();
    FUZZ_CHECK(mSystemParam::loadConfig());
    FUZZ_CHECK(gConfigRegistry.size() == expected.size());
    for (const auto& [section, subsections] : expected) {
        for (const auto& [subsection, values] : subsections) {
            mSystemParam::cSection copy;
            FUZZ_CHECK(mSystemParam::getSection(copy, section.c_str(), subsection.c_str()));
            FUZZ_CHECK(copy.values.size() == values.size());
            for (const auto& [key, value] : values) {
                const char* got = copy.GetString(key.c_str(), nullptr);
                FUZZ_CHECK(got != nullptr && value == got);
            }
        }
    }

    for (const auto& [section, subsections] : gConfigRegistry) {
        FUZZ_CHECK(!section.empty());
        for (const auto& [subsection, values] : subsections) {
            FUZZ_CHECK(!subsection.empty());
            mSystemParam::cSection copy;
            FUZZ_CHECK(mSystemParam::getSection(copy, section.c_str(), subsection.c_str()));
            FUZZ_CHECK(copy.values.size() == values.values.size());
            for (const auto& [key, value] : values.values) {
                FUZZ_CHECK(copy.GetString(key.c_str(), nullptr) != nullptr);
                const std::string text = value.c_str();
                FUZZ_CHECK(text.find_first_of(" \t") == std::string::npos);
                copy.GetInt(key.c_str(), -1);
                copy.GetBool(key.c_str(), true);
            }
        }
    }
    mSystemParam::cSection absent;
    FUZZ_CHECK(!mSystemParam::getSection(absent, "", ""));

    forgetScreenSizeForTest();
    loadSystemInfo();
    FUZZ_CHECK(gScreenWidth > 0 && gScreenHeight > 0);
    FUZZ_CHECK(int64_t(gScreenWidth) * gScreenHeight * 4 <= int64_t(0xFFFFFFFF));

    setDefaultSettings();
    UserSettings.speakerColours = 1;
    loadMessageContent();
    auto speakers = gConfigRegistry.find(vstring("Message"));
    if (speakers != gConfigRegistry.end()) {
        for (const auto& [subsection, values] : speakers->second) {
            for (const auto& [key, value] : values.values) {
                uint8_t r, g, b;
                speakerColour(r, g, b, key.c_str());
                voiceGroupEnabled(key.c_str());
            }
        }
    }
    setSpeakerLookups(nullptr, nullptr);
    gConfigRegistry.clear();
    return 0;
}
