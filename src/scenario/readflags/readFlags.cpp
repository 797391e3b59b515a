#include "scenario/readflags/readFlags.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <utility>

#include "base/flowHooks.h"
#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "files/saveFile.h"
#include "files/textBuf.h"

namespace mReadFlags {
namespace {

const char kLogFile[] = "complete.log";
// A log larger than this is not the program's: it is neither read nor replaced.
constexpr uint64_t kMaxLogBytes = 64u << 20;

struct ReadFlagsState {
    std::map<vstring, cSecList> table;
    cRangeSet current;
    vstring currentName;
    int32_t pendingFirst = -1;
    int32_t pendingLast = -1;
    // The log exists but could not be read whole: this run's ranges must not replace it.
    bool keepLog = false;
};

ReadFlagsState gReadFlags MODULE_OBJECT(kOrderReadFlags);
const cModuleReset kReset(kOrderReadFlags, [] {
    gReadFlags.table.clear();
    gReadFlags.current.clear();
    gReadFlags.currentName.clear();
    gReadFlags.pendingFirst = gReadFlags.pendingLast = -1;
    gReadFlags.keepLog = false;
});

// A range line's number: an optional sign and decimal digits; anything else, or a value beyond
// 32 bits, reads 0.
int32_t logNumber(const char* word) {
    const char* p = word;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = *p++ == '-';
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > (int64_t(1) << 31)) return 0;
    }
    if (negative) value = -value;
    return value < INT32_MIN || value > INT32_MAX ? 0 : static_cast<int32_t>(value);
}

// Whether a script name reads back from the log as itself. The reader cuts lines at CR, drops
// the LF after a CR and the blanks and tabs that begin a line, and takes a line that begins with
// a backslash as a range: a name it would read otherwise is left out of the log, since its
// ranges would land in another script's entry.
bool fitsLog(const char* name) {
    const char first = *name;
    if (first == 0 || first == '\\' || first == ' ' || first == '\t' || first == '\n') return false;
    return std::strchr(name, '\r') == nullptr;
}

}  // namespace

bool checkLine(int32_t line) {
    ReadFlagsState& s = gReadFlags;
    if (s.pendingFirst < 0 && s.pendingLast < 0) s.pendingFirst = line;
    if (line > s.pendingLast) s.pendingLast = line;
    // The range with the greatest first line not above the line.
    auto it = s.current.lower_bound(cSeqNode{line, line});
    return it != s.current.end() && line <= it->last;
}

void flushPending() {
    ReadFlagsState& s = gReadFlags;
    if (s.pendingFirst >= 0 && s.pendingLast >= 0) {
        s.current.insert(cSeqNode{s.pendingFirst, s.pendingLast});
        coalesce();
    }
    s.pendingFirst = s.pendingLast = -1;
}

void coalesce() {
    cRangeSet result;
    cSeqNode run = {-1, -1};
    const cRangeSet& set = gReadFlags.current;
    for (auto it = set.rbegin(); it != set.rend(); ++it) {
        if (it->first <= run.last) {
            if (it->last > run.last) run.last = it->last;
        } else {
            if (run.first > 0) result.insert(run);
            run = *it;
        }
    }
    if (run.first > 0) result.insert(run);
    gReadFlags.current = std::move(result);
}

void commit() {
    ReadFlagsState& s = gReadFlags;
    flushPending();
    if (!s.currentName.empty() && !s.current.empty())
        s.table[s.currentName] = cSecList(s.current.rbegin(), s.current.rend());
    s.currentName.clear();
}

void beginScript(const char* name) {
    ReadFlagsState& s = gReadFlags;
    commit();
    flowScriptStarted(name ? name : "");
    s.currentName = name ? name : "";
    s.current.clear();
    if (s.currentName.empty()) return;
    auto entry = s.table.find(s.currentName);
    if (entry != s.table.end()) s.current.insert(entry->second.begin(), entry->second.end());
}

std::string logText() {
    std::string text;
    char line[32];
    for (const auto& entry : gReadFlags.table) {
        if (!fitsLog(entry.first.c_str())) continue;
        for (const cSeqNode& range : entry.second) {
            std::snprintf(line, sizeof line, "\\%d %d\r", range.first, range.last);
            text += line;
        }
        text += entry.first.c_str();
        text += '\r';
    }
    return text;
}

bool readLogText(const char* text) {
    cTextBuf lines;
    if (!text || !lines.SetText(text)) return true;  // an empty log holds nothing
    cSecList collected;
    cParams words;
    for (size_t i = 0; i < lines.LineCount(); ++i) {
        const char* line = lines.Line(i);
        if (!*line) continue;
        if (*line == '\\') {
            words.Parse(line + 1);
            cSeqNode range = {logNumber(words.Get(0)), logNumber(words.Get(1))};
            // A range below line 1 would swallow every range it overlaps at the next merge.
            if (range.first >= 1) collected.push_back(range);
        } else if (!collected.empty()) {
            gReadFlags.table[vstring(line)] = collected;
            collected.clear();
        }
    }
    return true;
}

bool save() {
    commit();
    if (gReadFlags.keepLog) return false;
    const std::string text = logText();
    return replaceSaveFile(kLogFile, [&text](cSaveFile& file) {
        return file.Write(text.c_str(), text.size() + 1);
    });
}

bool load() {
    ReadFlagsState& s = gReadFlags;
    s.keepLog = false;
    cSaveFile file;
    if (!file.OpenRead(kLogFile)) return false;
    const uint64_t size = file.file.Size64();
    std::vector<char> text;
    bool whole = size <= kMaxLogBytes;
    if (whole) {
        text.resize(static_cast<size_t>(size) + 1, 0);
        whole = size == 0 || file.Read(text.data(), static_cast<size_t>(size));
    }
    file.Close();
    if (!whole) {
        s.keepLog = true;
        return false;
    }
    text.back() = 0;
    return readLogText(text.data());
}

const cSecList* tableEntry(const char* name) {
    auto it = gReadFlags.table.find(vstring(name ? name : ""));
    return it == gReadFlags.table.end() ? nullptr : &it->second;
}
const cRangeSet& currentSet() { return gReadFlags.current; }
const char* currentScript() { return gReadFlags.currentName.c_str(); }

}  // namespace mReadFlags
