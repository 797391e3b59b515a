// The configuration registry: an input is one or more configuration files (NUL bytes separate
// them, parsed in order). The registry is walked whole through the section lookups, and the
// readers of the program's own sections (system information, speakers and voices) run over it.
#include <string>

#include "config/registry.h"
#include "config/systemInfo.h"
#include "files/textBuf.h"
#include "base/settings.h"
#include "presentation/msgSpeakers.h"
#include "fuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gConfigRegistry.clear();
    FuzzInput input(data, size);
    while (input.Left() > 0) {
        const std::string file = input.Text();
        cTextBuf buf;
        if (buf.SetText(file.c_str())) mSystemParam::parseConfigFile(buf);
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
