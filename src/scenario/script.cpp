#include "scenario/script.h"

#include "base/input.h"
#include "base/appHooks.h"
#include "base/uiText.h"
#include "base/debugMessage.h"
#include "base/settings.h"
#include "base/displayMode.h"
#include "scenario/commandTable.h"
#include "scenario/expression.h"
#include "scenario/readflags/readFlags.h"
#include "scenario/scriptLines.h"
#include "scenario/scriptPresenter.h"
#include "scenario/scriptState.h"
#include "scenario/variableStore.h"

bool cScript::LineAt(int32_t i, vstring& out) const {
    if (i < 0) return false;
    return m_lines.GetLine(static_cast<uint32_t>(i), out);
}

void cScript::Clear() {
    m_name.clear();
    m_pending.clear();
    m_nextLine = 0;
    m_savePoint = 0;
    m_caseId = 0;
    m_caseEnable = 0;
    if (m_child) {
        m_child->Clear();
        delete m_child;
        m_child = nullptr;
    }
    m_lines.Clear();
}

bool cScript::Load(const char* name) {
    vstring given(name);  // name may point into this level's own storage
    Clear();
    if (!m_lines.Load("script", given.c_str())) return false;
    m_name = given;
    mReadFlags::beginScript(m_name.c_str());
    return true;
}

void cScript::Restore(int32_t nextLine, int32_t caseId, uint8_t caseEnable) {
    m_nextLine = nextLine;
    m_caseId = caseId;
    m_caseEnable = caseEnable;
}

cScript* cScript::AddChild() {
    if (m_child) {
        m_child->Clear();
        delete m_child;
    }
    m_child = new cScript;
    m_child->m_depth = m_depth + 1;
    return m_child;
}

bool cScript::Run() {
    mReadFlags::beginScript(m_name.c_str());
    bool linesRanOut = false;
    while (pumpMessages()) {
        if (m_child) Call(nullptr);
        if (scriptAbortFlag) {
            mReadFlags::commit();
            return true;
        }
        // A copy: LOAD and EXIT free the lines while this one executes.
        vstring line;
        if (!LineAt(m_nextLine, line)) {
            linesRanOut = true;
            break;
        }
        ++m_nextLine;
        if (ProcessLine(line.c_str())) continue;
        if (!pollInput(kInputReading, true)) break;
        debugMessage(uiText(UiText::DiagScriptLineFailed), m_name.c_str(), m_nextLine);
    }
    // Text that ends the script is shown like text ended by a line, unless the game is unwinding.
    if (linesRanOut && !scriptAbortFlag && !m_pending.empty()) {
        ++m_nextLine;
        FlushText();
    }
    mReadFlags::commit();
    Clear();
    return true;
}

bool cScript::ProcessLine(const char* line) {
    switch (classifyLine(line)) {
    case LineKind::Assignment:
        FlushText();
        if (scriptAbortFlag) return true;
        return Assign(line + 1);
    case LineKind::Dot:
        FlushText();
        if (scriptAbortFlag) return true;
        return DoCommand(line + 1);
    case LineKind::Brace:
    case LineKind::Comment:
    case LineKind::Label:
    case LineKind::Empty:
        FlushText();
        return true;
    case LineKind::Text:
        if (!m_pending.empty()) m_pending += "/";
        m_pending += line;
        return true;
    }
    return true;
}

void cScript::FlushText() {
    if (m_pending.empty()) return;
    bool read = mReadFlags::checkLine(m_nextLine);
    if (!read && !UserSettings.skipAll && isSkipping()) setForcedSkip(false);
    vstring text = m_pending;
    presentMessageText(text.c_str(), read);
    m_pending.clear();
    if (!isNovelMode(MsgWindowMode)) {
        m_savePoint = m_nextLine - 1;
        presentLogMark();
    }
}

bool cScript::DoCommand(const char* text) {
    DotLine dot = splitDotLine(text);
    if (dot.pageMark) {
        m_savePoint = m_nextLine;
        presentLogMark();
        presentNewPage();
        return true;
    }
    switch (lookupKeyword(dot.keyword.c_str())) {
    case ScriptKeyword::If: {
        if (evaluateExpression(dot.args) != 0) return true;
        if (!SkipBlock()) return false;
        vstring next;
        if (!LineAt(m_nextLine, next)) return false;
        if (isElseLine(next.c_str())) ++m_nextLine;
        return true;
    }
    case ScriptKeyword::Else:
        return SkipBlock();
    case ScriptKeyword::Goto:
        return GotoLabel(dot.args);
    case ScriptKeyword::Call:
        return Call(dot.args);
    case ScriptKeyword::Load:
        return Load(dot.args);
    case ScriptKeyword::Select:
        return Select(dot.args);
    case ScriptKeyword::Case:
        return CaseBranch(dot.args);
    case ScriptKeyword::EndSel:
        return true;
    case ScriptKeyword::Exit:
        m_lines.Clear();
        return true;
    case ScriptKeyword::Quit:
        appRequestQuit();
        return false;
    case ScriptKeyword::Page:
        presentNewPage();
        m_savePoint = m_nextLine - 1;
        presentLogMark();
        return true;
    case ScriptKeyword::Command:
        break;
    }
    return executeCommand(dot.keyword.c_str(), dot.args);
}

bool cScript::Call(const char* name) {
    if (name && m_depth + 1 >= kMaxCallLevels) return false;
    if (!m_child) AddChild();
    m_savePoint = m_nextLine;
    if (name) m_child->Load(name);
    bool result = m_child->Run();
    m_child->Clear();
    delete m_child;
    m_child = nullptr;
    mReadFlags::beginScript(m_name.c_str());
    return result;
}

bool cScript::SkipBlock() {
    mReadFlags::flushPending();
    int depth = 0;
    for (;;) {
        vstring line;
        if (!LineAt(m_nextLine, line)) return false;
        ++m_nextLine;
        char first = *line.c_str();
        if (first == '{') ++depth;
        else if (first == '}') --depth;
        if (depth < 1) return true;
    }
}

bool cScript::GotoLabel(const char* label) {
    mReadFlags::flushPending();
    vstring line;
    for (int32_t i = 0; LineAt(i, line); ++i) {
        if (isLabelLine(line.c_str(), label)) {
            m_nextLine = i + 1;
            m_savePoint = i + 1;
            return true;
        }
    }
    return false;
}

bool cScript::Select(const char* arg) {
    mReadFlags::flushPending();
    if (isNovelMode(MsgWindowMode)) presentDisplayMode(kModeAdv);
    presentBeginChoice(arg);
    int32_t count = 0;
    for (;;) {
        vstring line;
        if (!LineAt(m_nextLine, line)) return false;
        if (isCaseLine(line.c_str())) {
            m_caseId = presentRunChoice();
            m_caseEnable = 1;
            return true;
        }
        if (!line.empty() && *line.c_str() != ';') {
            ++count;
            presentChoiceOption(count, line.c_str());
        }
        ++m_nextLine;
    }
}

bool cScript::CaseBranch(const char* args) {
    mReadFlags::flushPending();
    if (MatchCase(args)) return true;
    for (;;) {
        vstring line;
        if (!LineAt(m_nextLine, line)) return false;
        if (*line.c_str() == '{') {
            if (!SkipBlock()) return false;
            continue;
        }
        if (isCaseLine(line.c_str()) || isEndSelLine(line.c_str())) return true;
        ++m_nextLine;
    }
}

bool cScript::MatchCase(const char* args) {
    if (!m_caseEnable) return false;
    if (!caseListMatches(args, m_caseId)) return false;
    m_caseEnable = 0;
    return true;
}

bool cScript::Assign(const char* text) {
    vstring name;
    const char* expression = nullptr;
    if (!splitAssignment(text, name, expression)) return false;
    setVariable(name.c_str(), evaluateExpression(expression));
    return true;
}
