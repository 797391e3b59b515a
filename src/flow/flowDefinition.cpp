#include "flow/flowDefinition.h"

#include <algorithm>

#include "base/vstring.h"
#include "files/textBuf.h"
#include "flow/flowRecord.h"

namespace {
enum class Block { None, Params, Node };

bool is(const char* word, const char* keyword) { return vs_compare(word, keyword) == 0; }

// The parser's state between lines. The flag name and the state carry over from one node block to
// the next; before the first "flag" the state is 0 (not visited).
struct Parser {
    Block block = Block::None;
    int64_t offsetX = 0, offsetY = 0;
    vstring flag;
    cNodeData node;
};

void readLink(const Parser& p, const cParams& words, FlowChartLists& lists) {
    cLinkData link;
    link.x = p.node.x;
    link.y = p.node.y;
    link.state = flowLinkState(p.flag.c_str(), words.Get(1));
    for (int i = 2;; ++i) {
        const char* w = words.Get(i);
        if (!*w) break;
        // Lower-case letters only; any other token is passed over.
        if (w[0] == 'x')
            link.waypoints.push_back({kFlowToColumn, decimalValue(w + 1) + p.offsetX});
        else if (w[0] == 'y')
            link.waypoints.push_back({kFlowToRow, decimalValue(w + 1) + p.offsetY});
    }
    lists.links.push_back(std::move(link));
}

void readNodeLine(Parser& p, const cParams& words, FlowChartLists& lists) {
    const char* keyword = words.Get(0);
    if (is(keyword, "flag")) {
        p.flag = words.Get(1);
        p.node.state = flowNodeState(p.flag.c_str());
    } else if (is(keyword, "chapt")) {
        setFlowChapter(p.node.x, p.node.y, words.Get(1));
    } else if (is(keyword, "link")) {
        readLink(p, words, lists);
    }
}

void openBlock(Parser& p, const cParams& words) {
    const char* keyword = words.Get(0);
    if (is(keyword, "params")) {
        p.block = Block::Params;
        return;
    }
    p.block = Block::Node;
    p.node.kind = is(keyword, "select")     ? kFlowSelect
                  : is(keyword, "switch")   ? kFlowSwitch
                  : is(keyword, "keypoint") ? kFlowKeypoint
                                            : kFlowPlain;
    p.node.x = decimalValue(words.Get(1)) + p.offsetX;
    p.node.y = decimalValue(words.Get(2)) + p.offsetY;
}
}  // namespace

void readFlowDefinition(const cTextBuf& lines, FlowChartLists& lists) {
    Parser p;
    cParams words;
    for (size_t i = 0; i < lines.LineCount(); ++i) {
        const char* line = lines.Line(i);
        if (!*line || *line == ';') {
            if (p.block == Block::Node) lists.nodes.push_back(p.node);
            p.block = Block::None;
            continue;
        }
        words.Parse(line);
        switch (p.block) {
            case Block::None:
                openBlock(p, words);
                break;
            case Block::Params:
                if (is(words.Get(0), "offset")) {
                    p.offsetX = decimalValue(words.Get(1));
                    p.offsetY = decimalValue(words.Get(2));
                }
                break;
            case Block::Node:
                readNodeLine(p, words, lists);
                break;
        }
    }
    // A node block still open at the end is not committed: only an ending line commits one.
    auto byState = [](const auto& a, const auto& b) { return a.state < b.state; };
    std::stable_sort(lists.links.begin(), lists.links.end(), byState);
    std::stable_sort(lists.nodes.begin(), lists.nodes.end(), byState);
}
