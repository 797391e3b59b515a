// Script lines: an input is a case number (four bytes) and a script file. Each line is classified
// and taken apart as the interpreter does: dot lines into keyword and arguments (with CASE lists
// and IF conditions), assignments into name and expression, labels against every other line.
#include <cstring>
#include <string>

#include "files/textBuf.h"
#include "scenario/expression.h"
#include "scenario/scriptLines.h"
#include "scenario/variableStore.h"
#include "fuzzInput.h"

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string upperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The CASE list rule: blank-separated words, each counting as its leading digits (saturating),
// up to the first word that does not begin with a digit.
bool expectedCaseMatch(const char* args, int32_t caseId) {
    const char* p = args;
    for (;;) {
        while (isBlank(*p)) ++p;
        if (!isDigit(*p)) return false;
        int64_t value = 0;
        for (; isDigit(*p); ++p) {
            value = value * 10 + (*p - '0');
            if (value > INT32_MAX) value = INT32_MAX;
        }
        if (value == caseId) return true;
        while (*p && !isBlank(*p)) ++p;
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    uint32_t caseBits = 0;
    for (int i = 0; i < 4; ++i) caseBits = caseBits << 8 | input.Byte();
    const int32_t caseId = static_cast<int32_t>(caseBits);
    const std::string text(reinterpret_cast<const char*>(input.Rest()), input.Left());

    resetVariableStore();
    setVariableName(VariableKind::Local, 0, "a");
    setVariableName(VariableKind::Global, 1, "G001");
    cTextBuf script;
    script.SetText(text.c_str());
    const size_t lines = script.LineCount() < 64 ? script.LineCount() : 64;
    for (size_t i = 0; i < lines; ++i) {
        const char* line = script.Line(i);
        const LineKind kind = classifyLine(line);
        FUZZ_CHECK((kind == LineKind::Empty) == (*line == 0));
        isCaseLine(line);
        isEndSelLine(line);
        isElseLine(line);
        for (size_t j = 0; j < lines; ++j) {
            const bool label = isLabelLine(script.Line(j), line);
            if (label) FUZZ_CHECK(classifyLine(script.Line(j)) == LineKind::Label);
        }
        if (kind == LineKind::Dot) {
            const DotLine dot = splitDotLine(line + 1);
            if (dot.pageMark) continue;
            const char* args = dot.args;
            FUZZ_CHECK(args >= line && args <= line + std::strlen(line));
            FUZZ_CHECK(!isBlank(*args));
            for (const char* p = dot.keyword.c_str(); *p; ++p)
                FUZZ_CHECK(!isBlank(*p) && *p != '(' && !isDigit(*p));
            const std::string word = upperAscii(dot.keyword.c_str());
            static const char* const kWords[] = {"IF", "ELSE", "GOTO", "CALL", "LOAD", "SELECT",
                                                 "CASE", "ENDSEL", "EXIT", "QUIT", "."};
            int known = -1;
            for (int k = 0; k < 11; ++k)
                if (word == kWords[k]) known = k;
            FUZZ_CHECK(static_cast<int>(lookupKeyword(dot.keyword.c_str())) ==
                       (known < 0 ? static_cast<int>(ScriptKeyword::Command) : known));
            FUZZ_CHECK(caseListMatches(args, caseId) == expectedCaseMatch(args, caseId));
            switch (lookupKeyword(dot.keyword.c_str())) {
                case ScriptKeyword::If: evaluateExpression(args); break;
                case ScriptKeyword::Case: caseListMatches(args, caseId); break;
                default: break;
            }
        } else if (kind == LineKind::Assignment) {
            vstring name;
            const char* expression = nullptr;
            if (splitAssignment(line + 1, name, expression)) {
                FUZZ_CHECK(name.size() <= kMaxAssignmentName);
                FUZZ_CHECK(expression > line && expression <= line + std::strlen(line));
                setVariable(name.c_str(), evaluateExpression(expression));
            }
        }
    }
    resetVariableStore();
    return 0;
}
