// cScript: one level of the script interpreter. A level reads a script of folder "script" line by
// line: message text is gathered and shown, dot lines carry keywords and table commands, "?" lines
// assign variables. A CALL runs another script in a child level owned by this one; the chain from
// the root level down is the call stack.
#pragma once
#include <cstdint>

#include "files/textBuf.h"
#include "base/vstring.h"

// The chain holds at most this many levels that run a script; a CALL beyond fails.
constexpr int kMaxCallLevels = 100;

class cScript {
public:
    cScript() = default;
    ~cScript() { Clear(); }
    cScript(const cScript&) = delete;
    cScript& operator=(const cScript&) = delete;

    // Replaces the level's script; false leaves the level empty.
    bool Load(const char* name);
    // Empties the level and deletes its children.
    void Clear();
    // Runs the level until its lines run out, the abort flag rises or quit is seen. Always true.
    bool Run();

    bool ProcessLine(const char* line);
    void FlushText();
    bool DoCommand(const char* text);
    // name null: resumes the existing child (a rebuilt chain).
    bool Call(const char* name);
    bool SkipBlock();
    bool GotoLabel(const char* label);
    bool Select(const char* arg);
    bool CaseBranch(const char* args);
    bool MatchCase(const char* args);
    bool Assign(const char* text);

    // State read and restored by the script state's save section.
    const char* Name() const { return m_name.c_str(); }
    int32_t NextLine() const { return m_nextLine; }
    int32_t SavePoint() const { return m_savePoint; }
    int32_t CaseID() const { return m_caseId; }
    uint8_t CaseEnable() const { return m_caseEnable; }
    cScript* Child() const { return m_child; }
    int Depth() const { return m_depth; }
    void Restore(int32_t nextLine, int32_t caseId, uint8_t caseEnable);
    // A new empty child level (replacing any child there was).
    cScript* AddChild();

private:
    // The line at index i; false past either end.
    bool LineAt(int32_t i, vstring& out) const;

    vstring m_name;
    vstring m_pending;
    int32_t m_nextLine = 0;
    int32_t m_savePoint = 0;
    int32_t m_caseId = 0;
    uint8_t m_caseEnable = 0;
    cTextBuf m_lines;
    cScript* m_child = nullptr;
    int m_depth = 0;  // 0 for the root level
};
