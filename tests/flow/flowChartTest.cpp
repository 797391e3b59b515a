// The flow chart: the definition file's blocks and their carried-over state, hostile files, the
// colours, the bars and squares in pixels, the grid pick, and the chart screen over a scripted
// input backend.
#include <array>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "../graphics/png/pngBuilder.h"
#include "base/debugMessage.h"
#include "base/flowHooks.h"
#include "base/input.h"
#include "base/moduleState.h"
#include "base/present.h"
#include "config/systemInfo.h"
#include "files/apiFile.h"
#include "files/archiveIndex.h"
#include "files/textBuf.h"
#include "flow/flowChart.h"
#include "flow/flowDefinition.h"
#include "flow/flowDrawing.h"
#include "flow/flowRecord.h"
#include "graphics/image.h"
#include "graphics/screen.h"
#include "graphics/text/glyphSource.h"
#include "screenSizeGuard.h"
#include "testing.h"

namespace {

constexpr const char* kFolder = "flow-chart-data\\";

void checklist(std::initializer_list<const char*> names) {
    for (const char* n : names) const_cast<cFlowSet&>(flowRecord().flowChecklist).insert(vstring(n));
}

// Lines end with CR LF, as the game's files do.
std::string crlf(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* l : lines) text += std::string(l) + "\r\n";
    return text;
}

FlowChartLists parse(const std::string& text) {
    cTextBuf lines;
    lines.SetText(text.c_str());
    FlowChartLists lists;
    readFlowDefinition(lines, lists);
    return lists;
}

using Node = std::tuple<int64_t, int64_t, int, int>;  // x, y, kind, state
std::vector<Node> nodesOf(const FlowChartLists& l) {
    std::vector<Node> out;
    for (const cNodeData& n : l.nodes) out.emplace_back(n.x, n.y, n.kind, n.state);
    return out;
}
using Waypoints = std::vector<std::pair<int, int64_t>>;  // axis, coordinate
Waypoints waypointsOf(const cLinkData& link) {
    Waypoints out;
    for (const cLinkNode& w : link.waypoints) out.emplace_back(w.axis, w.coordinate);
    return out;
}
std::string caption(int64_t x, int64_t y) {
    vstring text;
    getFlowChapter(x, y, text);
    return text.c_str();
}

int gMessages = 0;
void countMessage(const char*) { ++gMessages; }

class FlowChart : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        gMessages = 0;
        setDebugSink(countMessage);
        checklist({"a01", "a02", "a03"});
    }
    void TearDown() override {
        setDebugSink(nullptr);
        resetEngineState();
    }
};

TEST_F(FlowChart, OffsetsReplaceAndApplyToLaterLinesOnly) {
    const FlowChartLists l = parse(crlf({
        "a 1 1", "link t x2 y3", ";",
        "params", "offset 10 5", "ignored line", ";",
        "a 1 2", "link t x3 y4", ";",
        "PARAMS", "OFFSET -1 1", "",
        "b 1 2", "",
    }));
    EXPECT_EQ((std::vector<Node>{{1, 1, 0, 0}, {11, 7, 0, 0}, {0, 3, 0, 0}}), nodesOf(l));
    ASSERT_EQ(2u, l.links.size());
    EXPECT_EQ((Waypoints{{0, 2}, {1, 3}}), waypointsOf(l.links[0]));
    EXPECT_EQ(11, l.links[1].x);
    EXPECT_EQ(7, l.links[1].y);
    EXPECT_EQ((Waypoints{{0, 13}, {1, 9}}), waypointsOf(l.links[1]));
    EXPECT_EQ(0, gMessages);
}

TEST_F(FlowChart, LastBlockWithoutEndingLineKeepsLinksAndCaptionButNoNode) {
    const FlowChartLists l = parse(crlf({"select 3 4", "chapt Last", "link a01 x5"}));
    EXPECT_TRUE(l.nodes.empty());
    ASSERT_EQ(1u, l.links.size());
    EXPECT_EQ("Last", caption(3, 4));
}

TEST_F(FlowChart, CommentInsideBlockCommitsItAndTheNextKeywordOpensPlainNode) {
    flowVisit("a01");
    const FlowChartLists l = parse(crlf({
        "switch 5 5", "flag a01", "; comment", "flag a02", "chapt C", "link a02 x1", ";",
    }));
    // "flag a02" opened a plain block at 0 0 ("a02" and "" read as 0) and set no flag: the
    // state stays a01's.
    EXPECT_EQ((std::vector<Node>{{5, 5, 2, 3}, {0, 0, 0, 3}}), nodesOf(l));
    EXPECT_EQ("C", caption(0, 0));
    ASSERT_EQ(1u, l.links.size());
    EXPECT_EQ(0, l.links[0].x);
    EXPECT_EQ(0, l.links[0].state);  // the flag is still a01: a01 -> a02 was never taken
}

TEST_F(FlowChart, WaypointsLowerCaseOnlyUpToTheFirstEmptyToken) {
    const FlowChartLists l = parse(crlf({"a 0 0", "LINK t x1 X2 y3 Y4 z5 -x6 x x12ab 12 y-7", ";"}));
    ASSERT_EQ(1u, l.links.size());
    EXPECT_EQ((Waypoints{{0, 1}, {1, 3}, {0, 0}, {0, 12}, {1, -7}}), waypointsOf(l.links[0]));
}

TEST_F(FlowChart, NumbersReadAsDecimalPrefixes) {
    const FlowChartLists l = parse(crlf({"a 12ab ab", ";", "b +7 -3x", ";", "c", ";"}));
    EXPECT_EQ((std::vector<Node>{{12, 0, 0, 0}, {7, -3, 0, 0}, {0, 0, 0, 0}}), nodesOf(l));
}

TEST_F(FlowChart, FlagAndStateCarryOverBlocks) {
    flowVisit("a01");
    flowVisit("a02");  // a02 current, a01 on the route, a01 -> a02 on the route
    const FlowChartLists l = parse(crlf({
        "keypoint 9 9", ";",  // before any flag: state 0
        "select 1 1", "Flag a01", ";",
        "b 2 2", "link a02 x3", "flag a03", ";",  // the link uses the flag before this block's
        "select 3 3", ";",                       // no flag: a03's state and its own kind
        "a 4 4", "flag", ";",
    }));
    // Sorted by state, stably; an empty flag name is state 0 while a02 is the last node.
    EXPECT_EQ((std::vector<Node>{{9, 9, 3, 0}, {2, 2, 0, 0}, {3, 3, 1, 0}, {4, 4, 0, 0}, {1, 1, 1, 2}}),
              nodesOf(l));
    ASSERT_EQ(1u, l.links.size());
    EXPECT_EQ(2, l.links[0].state);
}

TEST_F(FlowChart, EmptyFlagMatchesEmptyLastNode) {
    const FlowChartLists l = parse(crlf({"a 1 1", "flag", ";", "b 2 2", "flag a01", ";"}));
    EXPECT_EQ((std::vector<Node>{{2, 2, 0, 0}, {1, 1, 0, 3}}), nodesOf(l));
}

TEST_F(FlowChart, StableOrderWithinEachState) {
    flowVisit("a01");
    flowVisit("a02");
    flowResetRoute();  // a01, a02 state 1; their link 1
    flowVisit("a03");  // a03 state 3
    const FlowChartLists l = parse(crlf({
        "a 1 0", "flag a03", "link a01 x1", ";",
        "a 2 0", "flag a01", "link a02 x2", "link a03 x3", ";",
        "a 3 0", "flag a02", ";",
        "a 4 0", "flag zz", "link a01 x4", ";",
        "a 5 0", "flag a01", "link a02 x5", ";",
    }));
    EXPECT_EQ((std::vector<Node>{{4, 0, 0, 0}, {2, 0, 0, 1}, {3, 0, 0, 1}, {5, 0, 0, 1}, {1, 0, 0, 3}}),
              nodesOf(l));
    std::vector<std::pair<int, int64_t>> links;  // state, first waypoint
    for (const cLinkData& k : l.links) links.emplace_back(k.state, k.waypoints[0].coordinate);
    EXPECT_EQ((std::vector<std::pair<int, int64_t>>{{0, 1}, {0, 3}, {0, 4}, {1, 2}, {1, 5}}), links);
}

TEST_F(FlowChart, LaterCaptionReplacesEarlierOneAlsoFromAnotherBlock) {
    parse(crlf({"a 1 1", "chapt One", "Chapt Two", ";", "b 2 2", "chapt", ";"}));
    EXPECT_EQ("Two", caption(1, 1));
    EXPECT_EQ("", caption(2, 2));
    parse(crlf({"c 1 1", "chapt Three", ";"}));
    EXPECT_EQ("Three", caption(1, 1));
    EXPECT_EQ("", caption(7, 7));
}

TEST_F(FlowChart, CaptionsKeyedByThePointItself) {
    // x * 65536 + y would give both points one key.
    setFlowChapter(0, 65536, "low");
    setFlowChapter(1, 0, "high");
    setFlowChapter(-1, -1, nullptr);
    EXPECT_EQ("low", caption(0, 65536));
    EXPECT_EQ("high", caption(1, 0));
    EXPECT_EQ("", caption(-1, -1));
    EXPECT_EQ(3u, flowRecord().flowChapters.size());
    clearFlowChapters();
    EXPECT_EQ("", caption(1, 0));
}

// ---------------------------------------------------------------------------------------------
// Colours, bars and squares.

struct Bgr {
    uint8_t b, g, r;
    bool operator==(const Bgr& o) const { return b == o.b && g == o.g && r == o.r; }
};
std::ostream& operator<<(std::ostream& os, const Bgr& c) {
    return os << '(' << int(c.r) << ',' << int(c.g) << ',' << int(c.b) << ')';
}
Bgr pixel(const cImage& image, int x, int y) {
    const uint8_t* p = image.pixels + (static_cast<int64_t>(y) * image.width + x) * 3;
    return {p[0], p[1], p[2]};
}
bool same(const Rgb& a, const Rgb& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

TEST(FlowColours, NodeColourByKindAndState) {
    const Rgb kWhite{255, 255, 255}, kYellow{255, 255, 130}, kCyan{130, 255, 255},
        kBlue{100, 100, 200}, kPink{255, 180, 255}, kDark{50, 50, 100};
    // [state][kind]: plain, select, switch, keypoint.
    const Rgb expected[4][4] = {
        {kDark, kDark, kYellow, kPink},
        {kBlue, kCyan, kYellow, kBlue},
        {kYellow, kYellow, kYellow, kYellow},
        {kWhite, kWhite, kWhite, kWhite},
    };
    for (uint8_t state = 0; state < 4; ++state)
        for (uint8_t kind = 0; kind < 4; ++kind)
            EXPECT_TRUE(same(expected[state][kind], flowNodeColour(kind, state)))
                << "kind " << int(kind) << " state " << int(state);
    EXPECT_TRUE(same(kDark, flowNodeColour(9, 0)));  // an unknown kind is plain
}

TEST(FlowColours, LinkColourByState) {
    EXPECT_TRUE(same({255, 180, 0}, flowLinkColour(2)));
    EXPECT_TRUE(same({100, 100, 200}, flowLinkColour(1)));
    EXPECT_TRUE(same({50, 50, 100}, flowLinkColour(0)));
    EXPECT_TRUE(same({50, 50, 100}, flowLinkColour(7)));
}

// A 64 by 64 canvas: which pixels are not black.
struct Canvas64 {
    Canvas64() {
        canvas.Create(3, 64, 64);
        std::memset(canvas.pixels, 0, 64 * 64 * 3);
    }
    std::vector<std::string> drawn() const {
        std::vector<std::string> rows(64, std::string(64, '.'));
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                if (!(pixel(canvas, x, y) == Bgr{0, 0, 0})) rows[y][x] = '#';
        return rows;
    }
    cCanvas canvas;
};
// Rows of 64 with '#' in the rectangles [x0, x1] x [y0, y1] (inclusive).
std::vector<std::string> rects(std::initializer_list<std::array<int, 4>> list) {
    std::vector<std::string> rows(64, std::string(64, '.'));
    for (const auto& r : list)
        for (int y = r[2]; y <= r[3]; ++y)
            for (int x = r[0]; x <= r[1]; ++x) rows[y][x] = '#';
    return rows;
}

cLinkData link(int64_t x, int64_t y, Waypoints w, uint8_t state = 2) {
    cLinkData l;
    l.x = x;
    l.y = y;
    for (const auto& [axis, c] : w) l.waypoints.push_back({static_cast<uint8_t>(axis), c});
    l.state = state;
    return l;
}

TEST(FlowBars, LinkBarsCoverTheirEndsAndJoinAtCorners) {
    Canvas64 c;
    // Right to column 3, down to row 3, back left to column 1.
    drawFlowLink(c.canvas, link(1, 1, {{0, 3}, {1, 3}, {0, 1}}));
    EXPECT_EQ(rects({{15, 48, 15, 16}, {47, 48, 15, 48}, {15, 48, 47, 48}}), c.drawn());
    EXPECT_EQ((Bgr{0, 180, 255}), pixel(c.canvas, 15, 15));
}

TEST(FlowBars, ReversedBarsAndTheCanvasEdges) {
    Canvas64 c;
    // Up from row 3 to row 0 (the bar's top is clipped), then left to column 0.
    drawFlowLink(c.canvas, link(2, 3, {{1, 0}, {0, 0}}, 1));
    EXPECT_EQ(rects({{31, 32, 0, 48}, {0, 32, 0, 0}}), c.drawn());
    EXPECT_EQ((Bgr{200, 100, 100}), pixel(c.canvas, 31, 48));
}

TEST(FlowBars, NoWaypointsDrawNothing) {
    Canvas64 c;
    drawFlowLink(c.canvas, link(1, 1, {}));
    EXPECT_EQ(rects({}), c.drawn());
}

TEST(FlowBars, NodeSquaresClippedAtTheCorners) {
    Canvas64 c;
    cNodeData n;
    n.x = 2, n.y = 2, n.kind = kFlowKeypoint;
    drawFlowNode(c.canvas, n);
    n.x = 0, n.y = 0, n.state = 3;
    drawFlowNode(c.canvas, n);
    n.x = 4, n.y = 4;  // 60..67: the lower right corner
    drawFlowNode(c.canvas, n);
    EXPECT_EQ(rects({{28, 35, 28, 35}, {0, 3, 0, 3}, {60, 63, 60, 63}}), c.drawn());
    EXPECT_EQ((Bgr{255, 180, 255}), pixel(c.canvas, 28, 35));
    EXPECT_EQ((Bgr{255, 255, 255}), pixel(c.canvas, 63, 63));
}

TEST(FlowBars, FarCoordinatesClipInsteadOfWrapping) {
    Canvas64 c;
    // 16 x 2^31 does not fit in 32 bits; in 64 the bars run off the canvas and are clipped.
    drawFlowLink(c.canvas, link(1, 1, {{0, 2147483647}, {1, -2147483647}}));
    drawFlowLink(c.canvas, link(-4294967294LL, 2, {{0, 1}}));
    drawFlowLink(c.canvas, link(4294967294LL, 4294967294LL, {{0, -4294967294LL}, {1, -4294967294LL}}));
    cNodeData n;
    n.x = 4294967294LL, n.y = -4294967294LL;
    drawFlowNode(c.canvas, n);
    EXPECT_EQ(rects({{15, 63, 15, 16}, {0, 16, 31, 32}}), c.drawn());
}

TEST(FlowGrid, NearestGridPoint) {
    const std::pair<int, int64_t> cases[] = {{-9, -1}, {-8, 0}, {0, 0}, {7, 0}, {8, 1},
                                             {23, 1}, {24, 2}, {799, 50}};
    for (const auto& [pixelX, point] : cases) EXPECT_EQ(point, flowGridPoint(pixelX)) << pixelX;
}

// ---------------------------------------------------------------------------------------------
// Files: the definition from the data folder, hostile ones too.

bool writeFile(const std::string& path, const std::string& bytes) {
    cAPI_File file;
    return file.Create((std::string(kFolder) + path).c_str()) &&
           (bytes.empty() || file.Write(bytes.data(), bytes.size())) && file.Close();
}

bool writePng(const std::string& name, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    Bytes raw;
    for (int i = 0; i < w * h; ++i) raw.insert(raw.end(), {r, g, b});
    PngParts parts;
    parts.header = ihdr(w, h, 2);
    parts.stream = zlibCompress(filterRows(raw, w, h, 3, {0}));
    const Bytes png = buildPng(parts);
    return writeFile("img\\" + name, std::string(png.begin(), png.end()));
}

class FlowFiles : public FlowChart {
protected:
    void SetUp() override {
        FlowChart::SetUp();
        ASSERT_TRUE(createFolder(kFolder));
        ASSERT_TRUE(createFolder((std::string(kFolder) + "flow").c_str()));
        ASSERT_TRUE(createFolder((std::string(kFolder) + "img").c_str()));
        ASSERT_TRUE(setDataFolder(kFolder));
        deleteFile((std::string(kFolder) + "flow\\flowdata.txt").c_str());
        deleteFile((std::string(kFolder) + "img\\sys_flow_base.png").c_str());
    }
    void TearDown() override {
        setDataFolder(".\\data\\");
        FlowChart::TearDown();
    }
    // The chart of a definition file on a 64 by 64 canvas.
    std::vector<std::string> chart(const std::string& definition) {
        EXPECT_TRUE(writeFile("flow\\flowdata.txt", definition));
        buildFlowChart(c.canvas);
        return c.drawn();
    }
    Canvas64 c;
};

TEST_F(FlowFiles, MissingFileDrawsNothing) {
    setFlowChapter(1, 1, "old");
    buildFlowChart(c.canvas);
    EXPECT_EQ(rects({}), c.drawn());
    EXPECT_TRUE(flowRecord().flowChapters.empty());
}

TEST_F(FlowFiles, LinksUnderNodesAndANulEndsTheText) {
    flowVisit("a01");
    flowVisit("a02");
    const std::string text =
        crlf({"a 1 1", "flag a01", "chapt A", "link a02 x3", ";", "b 3 1", ";", "c 2 3", ";"}) +
        std::string(1, '\0') + crlf({"d 0 0", ";"});
    EXPECT_EQ(rects({{15, 48, 15, 16}, {12, 19, 12, 19}, {44, 51, 12, 19}, {28, 35, 44, 51}}),
              chart(text));
    EXPECT_EQ((Bgr{130, 255, 255}), pixel(c.canvas, 16, 16));  // the node lies over the link
    EXPECT_EQ((Bgr{0, 180, 255}), pixel(c.canvas, 30, 16));    // the link itself
    EXPECT_EQ("A", caption(1, 1));
    EXPECT_EQ(0, gMessages);
}

TEST_F(FlowFiles, HostileFiles) {
    const std::string wellFormed = crlf({"select 2 2", ";"});
    const std::string longToken(100 * 1024, '7');
    std::string waypoints = "a 1 1\r\nlink t";
    for (int i = 0; i < 100000; ++i) waypoints += i % 2 ? " y1" : " x2";
    waypoints += "\r\n;\r\n";
    std::string junk;
    std::mt19937 random(19);
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>(random() % 255 + 1);

    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> drawn;  // with the well-formed node at 2 2 after it
    } cases[] = {
        {"empty", "", rects({{28, 35, 28, 35}})},
        {"a token of 100 kB", "a " + longToken + " " + longToken + "\r\nchapt " + longToken +
                                  "\r\nlink " + longToken + " x" + longToken + "\r\n;\r\n",
         rects({{28, 35, 28, 35}})},
        {"100000 waypoints", waypoints,
         rects({{28, 35, 28, 35}, {15, 32, 15, 16}, {31, 32, 15, 16}, {12, 19, 12, 19}})},
        {"extreme coordinates and offsets",
         crlf({"params", "offset 2147483647 -2147483647", ";", "a 2147483647 -2147483647",
               "link t x-2147483647 y2147483647", ";", "params", "offset -2147483648 0", ";",
               "b -99999999999 0", ";", "params", "offset 0 0", ";"}),
         // The link's last bar comes back to the grid point 0 0 from far above it.
         rects({{28, 35, 28, 35}, {0, 0, 0, 0}})},
        {"binary junk", junk, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        std::memset(c.canvas.pixels, 0, 64 * 64 * 3);
        gMessages = 0;
        const std::vector<std::string> drawn = chart(k.text + "\r\n\r\n" + wellFormed);
        EXPECT_EQ(0, gMessages);
        if (!k.drawn.empty()) {
            EXPECT_EQ(k.drawn, drawn);
        }
        EXPECT_EQ((Bgr{100, 50, 50}), pixel(c.canvas, 30, 30));  // the well-formed node
    }
}

TEST_F(FlowFiles, FuzzedDefinitionsNeverCrash) {
    const char* const words[] = {"params", "offset", "select", "switch", "keypoint", "flag", "chapt",
                                 "link", ";", "a01", "x", "y", "x-3", "y99999999999", "X1", "-",
                                 "2147483647", "-2147483648", "\t", " ", "\xFF", "\x81"};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int lines = static_cast<int>(random() % 40);
        for (int i = 0; i < lines; ++i) {
            const int n = static_cast<int>(random() % 6);
            for (int w = 0; w < n; ++w) {
                text += words[random() % (sizeof words / sizeof words[0])];
                text += random() % 4 ? " " : "";
                if (random() % 16 == 0) text += static_cast<char>(random() % 256);
            }
            text += random() % 8 ? "\r\n" : "\r";
        }
        chart(text);
    }
    EXPECT_EQ(0, gMessages);
}

// ---------------------------------------------------------------------------------------------
// The screen, over a scripted backend: each poll moves the mouse and may latch a command.

struct Step {
    int x, y;
    uint8_t command;
};
struct Script {
    std::vector<Step> steps;
    size_t polls = 0;
    int pumps = 0;
    bool quitAtPump = false;
    std::vector<std::pair<int, bool>> pollArgs;
    int presents = 0;
};
Script* gScript = nullptr;

bool scriptedPoll(uint8_t mode, bool sleep) {
    gScript->pollArgs.emplace_back(mode, sleep);
    if (gScript->polls >= gScript->steps.size()) return false;  // a loop that never ends fails
    const Step& s = gScript->steps[gScript->polls++];
    gMousePos = {s.x, s.y};
    if (s.command) setCommand(s.command);
    return true;
}
bool scriptedPump() {
    ++gScript->pumps;
    return !(gScript->quitAtPump && gScript->pumps > 1);
}
void countPresent() { ++gScript->presents; }
const InputBackend kBackend = {scriptedPoll, scriptedPump, nullptr, nullptr, nullptr};

// Draws every glyph as one pixel of its colour at half opacity at the cell's top-left, and
// advances 10 pixels.
class MarkGlyphs : public cGlyphSource {
public:
    FontHandle MakeFont(const FontSpec& spec) override {
        height = spec.height;
        return this;
    }
    void FreeFont(FontHandle) override {}
    bool Render(FontHandle, uint32_t code, double) override { return (ok = code != 0); }
    int32_t AdvanceX() const override { return ok ? 10 : 0; }
    int32_t AdvanceY() const override { return 0; }
    bool Blit(cImage& image, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) override {
        blits.push_back({x, y, r});
        if (x < 0 || y < 0 || x >= image.width || y >= image.height || image.bytesPerPixel != 4)
            return true;
        uint8_t* p = image.pixels + (static_cast<int64_t>(y) * image.width + x) * 4;
        p[0] = 128, p[1] = b, p[2] = g, p[3] = r;
        return true;
    }
    struct Mark {
        int32_t x, y;
        uint8_t r;
    };
    std::vector<Mark> blits;
    int32_t height = 0;
    bool ok = false;
};

class FlowScreen : public FlowFiles {
protected:
    void SetUp() override {
        FlowFiles::SetUp();
        gScript = &script;
        setInputBackend(&kBackend);
        setPresentHooks(countPresent, nullptr);
        setTextGlyphs(&glyphs);
        ASSERT_TRUE(createScreenCanvases());
        std::memset(gNextScreen.pixels, 100, gNextScreen.ByteCount());
        std::memset(gBackBuffer.pixels, 7, gBackBuffer.ByteCount());
        std::memset(gPrevScreen.pixels, 9, gPrevScreen.ByteCount());
        // a02 current, a01 plain on the route, a01 -> a02 taken.
        flowVisit("a01");
        flowVisit("a02");
        ASSERT_TRUE(writeFile("flow\\flowdata.txt",
                              crlf({"a 2 2", "flag a01", "chapt Cap", "link a02 x4", ";",
                                    "keypoint 4 2", "flag a02", ";"})));
    }
    void TearDown() override {
        setTextGlyphs(nullptr);
        setPresentHooks(nullptr, nullptr);
        setInputBackend(nullptr);
        gBackBuffer.Release();
        gNextScreen.Release();
        gPrevScreen.Release();
        FlowFiles::TearDown();
    }
    ScreenSize size{480, 120};
    Script script;
    MarkGlyphs glyphs;
};

TEST_F(FlowScreen, ChartOverTheSceneThroughTheBaseImage) {
    ASSERT_TRUE(writePng("sys_flow_base.png", 160, 120, 200, 200, 200));
    script.steps = {{0, 0, kCmdClick}};
    EXPECT_EQ(0, showFlowChart());
    // 100 + (200 - 100) x 128 / 255, rounded.
    EXPECT_EQ((Bgr{150, 150, 150}), pixel(gBackBuffer, 100, 100));
    EXPECT_EQ((Bgr{0, 180, 255}), pixel(gBackBuffer, 50, 32));   // the link
    EXPECT_EQ((Bgr{130, 255, 255}), pixel(gBackBuffer, 32, 32));  // a01 on the route
    EXPECT_EQ((Bgr{255, 255, 255}), pixel(gBackBuffer, 64, 32));  // a02 current
    // The scene stays as it was: the screen composes nothing.
    EXPECT_EQ(100, gNextScreen.pixels[0]);
    EXPECT_EQ(9, gPrevScreen.pixels[0]);
    EXPECT_EQ(kCmdClick, getCommand());
    EXPECT_EQ(2, script.presents);  // before the loop, and the one frame
    EXPECT_TRUE(flowRecord().flowChapters.empty());
    for (const auto& [mode, sleep] : script.pollArgs) {
        EXPECT_EQ(kInputScreen, mode);
        EXPECT_TRUE(sleep);
    }
    EXPECT_EQ(20, glyphs.height);
}

TEST_F(FlowScreen, WithoutBaseImageTheChartLiesOnTheScene) {
    script.steps = {{0, 0, kCmdOk}};
    EXPECT_EQ(0, showFlowChart());
    EXPECT_EQ((Bgr{100, 100, 100}), pixel(gBackBuffer, 100, 100));
    EXPECT_EQ(kCmdOk, getCommand());
}

TEST_F(FlowScreen, CaptionOfTheNodeUnderTheMouse) {
    // 39, 25: the grid point 2 2 (pixels 32 32); 40 would be column 3.
    script.steps = {{39, 25, 0}, {40, 25, 0}, {39, 25, kRawRightButton}};
    EXPECT_EQ(0, showFlowChart());
    EXPECT_EQ(kCmdCancel, getCommand());  // the right button in a screen
    // Each frame draws the caption twice into the sprite, three letters black then white; the
    // frame without a caption draws nothing.
    ASSERT_EQ(12u, glyphs.blits.size());
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(static_cast<int>(i % 3) * 10, glyphs.blits[i].x) << i;
        EXPECT_EQ(i % 6 < 3 ? 0 : 255, glyphs.blits[i].r) << i;
    }
    EXPECT_EQ(glyphs.blits[0].y, glyphs.blits[3].y);
    // The last frame: black copies at four neighbours, the white one twice at (px + 8, py - 16).
    const int px = 32, py = 32, gy = glyphs.blits[0].y;
    ASSERT_GE(py - 17 + gy, 0);
    const uint8_t black = 50;  // black at half opacity over the scene's 100
    for (auto [dx, dy] : {std::pair{9, -16}, {8, -15}, {7, -16}, {8, -17}})
        EXPECT_EQ((Bgr{black, black, black}), pixel(gBackBuffer, px + dx, py + dy + gy)) << dx << dy;
    // White at half opacity over the chart twice: 100 -> 178 -> 217.
    EXPECT_EQ((Bgr{217, 217, 217}), pixel(gBackBuffer, px + 8, py - 16 + gy));
    EXPECT_EQ((Bgr{217, 217, 217}), pixel(gBackBuffer, px + 28, py - 16 + gy));
    EXPECT_EQ((Bgr{100, 100, 100}), pixel(gBackBuffer, px + 38, py - 16 + gy));
    EXPECT_TRUE(flowRecord().flowChapters.empty());
}

TEST_F(FlowScreen, LongCaptionCutAtTheSpriteEdge) {
    const std::string longCaption(100 * 1024, 'W');
    ASSERT_TRUE(writeFile("flow\\flowdata.txt", crlf({"a 2 2", ("chapt " + longCaption).c_str(), ";"})));
    script.steps = {{32, 32, kCmdClick}};
    EXPECT_EQ(0, showFlowChart());
    // 10 pixels a letter: 40 letters start inside the 400-pixel sprite, in each of the two colours.
    ASSERT_EQ(80u, glyphs.blits.size());
    EXPECT_EQ(390, glyphs.blits[39].x);
    // The last white letter, blitted at 32 + 8 + 390; the sprite ends before the next one.
    EXPECT_EQ((Bgr{217, 217, 217}), pixel(gBackBuffer, 430, 16));
    EXPECT_EQ((Bgr{100, 100, 100}), pixel(gBackBuffer, 440, 16));
}

TEST_F(FlowScreen, OtherCommandsAreClearedAndTheScreenStaysOpen) {
    script.steps = {{0, 0, kCmdLeft}, {0, 0, kCmdQuickSave}, {0, 0, kCmdNone}, {0, 0, kCmdFlowChart},
                    {0, 0, kCmdCancel}};
    EXPECT_EQ(0, showFlowChart());
    EXPECT_EQ(kCmdCancel, getCommand());
    EXPECT_EQ(5u, script.polls);
    EXPECT_EQ(4, script.pumps);  // once before each inner loop
}

TEST_F(FlowScreen, QuitEndsTheScreenWithOne) {
    script.steps = {{39, 25, kCmdLeft}, {39, 25, 0}};
    script.quitAtPump = true;
    EXPECT_EQ(1, showFlowChart());
    EXPECT_TRUE(flowRecord().flowChapters.empty());
    EXPECT_EQ(kCmdNone, getCommand());
}

TEST_F(FlowScreen, QuitSeenByThePollEndsItToo) {
    script.steps = {{39, 25, 0}};  // the second poll reports quit
    EXPECT_EQ(1, showFlowChart());
    EXPECT_TRUE(flowRecord().flowChapters.empty());
}

TEST_F(FlowScreen, FlowChartCommandOpensTheScreen) {
    script.steps = {{0, 0, kCmdClick}};
    EXPECT_TRUE(flowChartCommand());
    EXPECT_EQ(1u, script.polls);
}

}  // namespace
