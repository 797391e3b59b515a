// The game data's read-only configuration registry: "config.txt" of folder "config" lists the
// files of that folder that hold it. Each file has section headers in square brackets (section
// and subsection joined by a point), key lines "key=value" (the value is one word) and comment
// lines starting with ";". The first definition of a key wins, across files in list order.
// Section, subsection and key names match without regard to ASCII letter case.
#pragma once
#include <cstdint>
#include <map>

#include "base/vstring.h"

class cTextBuf;

namespace mSystemParam {
// The key/value texts of one section and subsection.
class cSection {
public:
    // The value's text (owned by this object), or def when the key is absent.
    const char* GetString(const char* key, const char* def) const;
    // The decimal value (leading digits; 0 when not numeric; saturating), or def when absent.
    int32_t GetInt(const char* key, int32_t def) const;
    // "on"/"true" and "off"/"false" in any letter case; def for any other value or when absent.
    bool GetBool(const char* key, bool def) const;

    std::map<vstring, vstring> values;
};

using cSubsections = std::map<vstring, cSection>;
using cRegistry = std::map<vstring, cSubsections>;

// Empties the registry and reads all configuration files; true (missing files leave it empty).
bool loadConfig();
// Copies the named subsection into out (emptied first); false when it does not exist.
bool getSection(cSection& out, const char* section, const char* subsection);
// Adds one configuration file's lines to the registry; the current section starts empty.
void parseConfigFile(const cTextBuf& file);
}  // namespace mSystemParam

extern mSystemParam::cRegistry gConfigRegistry;
