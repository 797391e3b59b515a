// Read-text tracking: which message text the player has seen, per script and across runs, kept
// as ranges of line numbers (the line that ended each text block, counted from 1) and stored in
// the save folder as "complete.log".
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "base/vstring.h"

namespace mReadFlags {

struct cSeqNode {
    int32_t first;
    int32_t last;  // both inclusive
};
inline bool operator==(const cSeqNode& a, const cSeqNode& b) {
    return a.first == b.first && a.last == b.last;
}
// The current set's order: descending first line.
struct rangeBefore {
    bool operator()(const cSeqNode& a, const cSeqNode& b) const { return a.first > b.first; }
};
using cSecList = std::vector<cSeqNode>;
using cRangeSet = std::multiset<cSeqNode, rangeBefore>;

// Reads "complete.log"; false when it is missing or cannot be read whole (then this run's ranges
// never replace it).
bool load();
// Commits and writes "complete.log"; false when it was not written.
bool save();
// A text block ended by script line n is being shown: widens the pending range; true when the
// block was read before.
bool checkLine(int32_t line);
// The pending range goes into the current set, which is merged.
void flushPending();
// Merges overlapping ranges of the current set; ranges whose first line is below 1 are dropped.
void coalesce();
// The current set goes into the table under the current script's name.
void commit();
// Commits and switches to the named script (empty: none).
void beginScript(const char* name);

// The log's text for a table (the bytes before the final NUL), and a table from such a text:
// the two halves of save and load. A script whose name would not read back as itself (one that
// begins with a backslash, a blank, a tab or a line feed, or holds a carriage return) is left out.
std::string logText();
bool readLogText(const char* text);

// What the tests look at.
const cSecList* tableEntry(const char* name);
const cRangeSet& currentSet();
const char* currentScript();

}  // namespace mReadFlags
