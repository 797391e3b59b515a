#include "scenario/scriptLines.h"

#include <cstring>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

const char* skipBlanks(const char* p) {
    while (isBlank(*p)) ++p;
    return p;
}

}  // namespace

LineKind classifyLine(const char* line) {
    switch (line ? *line : '\0') {
    case '?': return LineKind::Assignment;
    case '{': case '}': return LineKind::Brace;
    case ';': return LineKind::Comment;
    case '#': return LineKind::Label;
    case '\0': return LineKind::Empty;
    case '.': return LineKind::Dot;
    default: return LineKind::Text;
    }
}

bool equalsNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        if (upper(*a) != upper(*b)) return false;
        if (!*a) return true;
    }
}

bool startsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix)
        if (upper(*text) != upper(*prefix)) return false;
    return true;
}

DotLine splitDotLine(const char* text) {
    DotLine dot;
    if (*text == '.') ++text;
    if (!*text) {
        dot.pageMark = true;
        return dot;
    }
    const char* end = text;
    while (*end && !isBlank(*end) && *end != '(' && !isDigit(*end)) ++end;
    dot.keyword.Assign(text, static_cast<size_t>(end - text));
    dot.args = skipBlanks(end);
    return dot;
}

ScriptKeyword lookupKeyword(const char* keyword) {
    static const struct {
        const char* word;
        ScriptKeyword keyword;
    } kKeywords[] = {
        {"IF", ScriptKeyword::If},         {"ELSE", ScriptKeyword::Else},
        {"GOTO", ScriptKeyword::Goto},     {"CALL", ScriptKeyword::Call},
        {"LOAD", ScriptKeyword::Load},     {"SELECT", ScriptKeyword::Select},
        {"CASE", ScriptKeyword::Case},     {"ENDSEL", ScriptKeyword::EndSel},
        {"EXIT", ScriptKeyword::Exit},     {"QUIT", ScriptKeyword::Quit},
        {".", ScriptKeyword::Page},
    };
    for (const auto& k : kKeywords)
        if (equalsNoCase(keyword, k.word)) return k.keyword;
    return ScriptKeyword::Command;
}

bool isCaseLine(const char* line) { return startsWithNoCase(line, ".CASE"); }
bool isEndSelLine(const char* line) { return equalsNoCase(line, ".ENDSEL"); }
bool isElseLine(const char* line) { return equalsNoCase(line, ".ELSE"); }

bool isLabelLine(const char* line, const char* label) {
    if (*label == '#') ++label;
    return *line == '#' && std::strcmp(line + 1, label) == 0;
}

bool caseListMatches(const char* args, int32_t caseId) {
    const char* p = skipBlanks(args);
    while (isDigit(*p)) {
        int64_t value = 0;
        for (; isDigit(*p); ++p) {
            value = value * 10 + (*p - '0');
            if (value > INT32_MAX) value = INT32_MAX;
        }
        if (value == caseId) return true;
        while (*p && !isBlank(*p)) ++p;
        p = skipBlanks(p);
    }
    return false;
}

bool splitAssignment(const char* text, vstring& name, const char*& expression) {
    const char* start = skipBlanks(text);
    const char* end = start;
    while (*end && !isBlank(*end) && *end != '=') ++end;
    if (static_cast<size_t>(end - start) > kMaxAssignmentName) return false;
    const char* equals = std::strchr(start, '=');
    if (!equals) return false;
    name.Assign(start, static_cast<size_t>(end - start));
    const char* p = equals + 1;
    while (isBlank(*p) || *p == '=') ++p;
    expression = p;
    return true;
}
