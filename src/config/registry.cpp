#include "config/registry.h"

#include <cstring>

#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "files/textBuf.h"

mSystemParam::cRegistry gConfigRegistry MODULE_OBJECT(kOrderConfigRegistry);

namespace {
const cModuleReset kReset(kOrderConfigRegistry, [] { gConfigRegistry.clear(); });
}

namespace mSystemParam {
namespace {
inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

struct Cursor {
    vstring section;
    vstring subsection;
};

void parseHeader(const char* line, Cursor& at) {
    const char* close = std::strchr(line + 1, ']');
    if (!close) {
        at.section.clear();
        at.subsection.clear();
        return;
    }
    const char* inside = line + 1;
    size_t length = static_cast<size_t>(close - inside);
    const char* dot = static_cast<const char*>(std::memchr(inside, '.', length));
    size_t sectionLength = dot ? static_cast<size_t>(dot - inside) : length;
    if (sectionLength > 0) {
        at.section.Assign(inside, sectionLength);
        at.subsection.clear();
    }
    if (dot && dot + 1 < close) at.subsection.Assign(dot + 1, static_cast<size_t>(close - dot - 1));
}

void parseKeyLine(const char* line, const Cursor& at) {
    if (at.section.empty() || at.subsection.empty()) return;
    const char* equals = std::strchr(line, '=');
    if (!equals) return;
    const char* value = equals + 1;
    while (isBlank(*value)) ++value;
    const char* valueEnd = value;
    while (*valueEnd && !isBlank(*valueEnd)) ++valueEnd;
    const char* keyEnd = line;
    while (keyEnd < equals && !isBlank(*keyEnd)) ++keyEnd;
    vstring key(line, static_cast<size_t>(keyEnd - line));
    std::map<vstring, vstring>& values = gConfigRegistry[at.section][at.subsection].values;
    // The first definition wins: an insert of a present key changes nothing.
    values.emplace(key, vstring(value, static_cast<size_t>(valueEnd - value)));
}

const vstring* find(const cSection& s, const char* key) {
    auto it = s.values.find(vstring(key));
    return it == s.values.end() ? nullptr : &it->second;
}
}  // namespace

void parseConfigFile(const cTextBuf& file) {
    Cursor at;
    for (size_t i = 0; const char* line = file.Line(i); ++i) {
        if (*line == 0 || *line == ';') continue;
        if (*line == '[')
            parseHeader(line, at);
        else
            parseKeyLine(line, at);
    }
}

bool getSection(cSection& out, const char* section, const char* subsection) {
    out.values.clear();
    auto s = gConfigRegistry.find(vstring(section));
    if (s == gConfigRegistry.end()) return false;
    auto sub = s->second.find(vstring(subsection));
    if (sub == s->second.end()) return false;
    out = sub->second;
    return true;
}

const char* cSection::GetString(const char* key, const char* def) const {
    const vstring* v = find(*this, key);
    return v ? v->c_str() : def;
}

int32_t cSection::GetInt(const char* key, int32_t def) const {
    const vstring* v = find(*this, key);
    return v ? decimalValue(v->c_str()) : def;
}

bool cSection::GetBool(const char* key, bool def) const {
    const vstring* v = find(*this, key);
    if (!v) return def;
    const char* t = v->c_str();
    if (!vs_compare(t, "on") || !vs_compare(t, "true")) return true;
    if (!vs_compare(t, "off") || !vs_compare(t, "false")) return false;
    return def;
}
}  // namespace mSystemParam
