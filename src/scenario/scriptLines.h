// The script language's line syntax: line kinds, dot-line keywords, CASE number lists and
// assignment lines. Pure text work; the interpreter (scenario/script) acts on the results.
#pragma once
#include <cstdint>

#include "base/vstring.h"

// What a script line is, by its first byte.
enum class LineKind {
    Assignment,  // "?"
    Brace,       // "{" or "}"
    Comment,     // ";"
    Label,       // "#"
    Empty,       // no byte
    Dot,         // "."
    Text,        // anything else, double-byte lead bytes included: message text
};
LineKind classifyLine(const char* line);

// The interpreter's own keywords of a dot line; anything else is a table command.
enum class ScriptKeyword { If, Else, Goto, Call, Load, Select, Case, EndSel, Exit, Quit, Page, Command };

// A dot line, the text after its first ".", cut into its keyword and its arguments.
struct DotLine {
    bool pageMark = false;  // "." or "..": an empty remainder
    vstring keyword;        // the longest prefix without blank, tab, "(" or decimal digit
    const char* args = "";  // the rest after the keyword, leading blanks and tabs skipped
};
// One more leading "." is dropped first, so ".." is a page mark and "..." arrives as the keyword ".".
// args points into text.
DotLine splitDotLine(const char* text);

// The keyword compared without regard to ASCII case; "." is the clearing page mark.
ScriptKeyword lookupKeyword(const char* keyword);

// ASCII case-insensitive equality of whole texts, and of a prefix.
bool equalsNoCase(const char* a, const char* b);
bool startsWithNoCase(const char* text, const char* prefix);

// A line whose first five characters are ".CASE", a line that is ".ENDSEL" as a whole, a line that
// is ".ELSE" as a whole (any case; trailing blanks count).
bool isCaseLine(const char* line);
bool isEndSelLine(const char* line);
bool isElseLine(const char* line);

// Whether line is the label line "#" + label exactly (a leading "#" of label is dropped first).
bool isLabelLine(const char* line, const char* label);

// The CASE argument list: blank-separated words that begin with decimal digits (each counting as
// its leading digits); true when one equals caseId. The list ends at the first word that does not
// begin with a digit.
bool caseListMatches(const char* args, int32_t caseId);

// Names of an assignment are at most this long.
constexpr size_t kMaxAssignmentName = 250;

// The text after "?": the name (up to the first blank, tab or "="), and the expression after the
// first "=" with blanks, tabs and further "=" skipped. False when the name is too long or there is
// no "=". expression points into text.
bool splitAssignment(const char* text, vstring& name, const char*& expression);
