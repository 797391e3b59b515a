// The demo game's scripts run by the interpreter over the demo's own archives (built for this
// configuration by the demo_data fixture), with the waits, pictures and sounds recorded: every
// route from the title to its ending runs without a failing line, takes the branches the choices
// say, and ends with the variables its ending sets.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "../scenario/commandRecorder.h"
#include "../scenario/scriptHost.h"
#include "base/displayMode.h"
#include "base/settings.h"
#include "config/registry.h"
#include "config/systemInfo.h"
#include "files/archiveIndex.h"
#include "graphics/image.h"
#include "presentation/msgSpeakers.h"
#include "scenario/variableStore.h"
#include "scenario/variables.h"
#include "testing.h"

namespace {

using Calls = std::vector<std::string>;

#ifdef MORVANE_EARLIER
constexpr UINT kCodePage = 932;
#else
constexpr UINT kCodePage = 936;
#endif

// UTF-8 text in a code page.
std::string encoded(const char* utf8, UINT codePage = kCodePage) {
    wchar_t wide[512];
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512);
    char out[1024];
    int m = WideCharToMultiByte(codePage, 0, wide, n, out, sizeof out, nullptr, nullptr);
    return m > 0 ? std::string(out) : std::string();
}
// The text of the configuration: Chinese in the full one, Japanese in the earlier one.
std::string text(const char* zh, const char* ja) {
#ifdef MORVANE_EARLIER
    (void)zh;
    return encoded(ja);
#else
    (void)ja;
    return encoded(zh);
#endif
}

// The demo data folder as the program names it: the Unix path on drive Z:.
std::string demoFolder() {
    std::string path = "Z:" MORVANE_DEMO_DATA "/";
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

struct Route {
    const char* name;
    std::vector<int32_t> answers;  // the text choice, then the map choice
};

bool (*recordLoad)(int32_t, const char*) = nullptr;

class DemoScripts : public ::testing::Test {
protected:
    ScriptHost host{"demo"};
    CommandRecorder recorder;

    void SetUp() override {
        recorder.useRealScriptState();
        CommandCallees& t = recorder.table;
        // A loaded name raises its seen flag, as the picture slots do.
        recordLoad = t.loadAnime;
        t.loadAnime = [](int32_t slot, const char* name) {
            setSeenFlag(name);
            return recordLoad(slot, name);
        };
        recorder.movieRounds = 0;
        setDefaultSettings();
        ASSERT_TRUE(setDataFolder(demoFolder().c_str()));
        ASSERT_TRUE(scanDataArchives());
        ASSERT_TRUE(mSystemParam::loadConfig());
        loadSystemInfo();
        initFlags("");
        loadMessageContent();
    }

    void play(const Route& route) {
        host.answers.assign(route.answers.begin(), route.answers.end());
        host.run("start.txt");
        EXPECT_EQ(0u, host.lineFailures()) << route.name;
        EXPECT_TRUE(host.answers.empty()) << route.name << ": a choice was not reached";
    }

    bool called(const std::string& call) const {
        return std::find(recorder.calls.begin(), recorder.calls.end(), call) != recorder.calls.end();
    }
    size_t shownWith(const std::string& part) const {
        size_t n = 0;
        for (const ShownMessage& m : host.shown)
            if (m.text.find(part) != std::string::npos) ++n;
        return n;
    }
};

}  // namespace

TEST_F(DemoScripts, TheConfigurationNamesTheGameAndItsVariables) {
    mSystemParam::cSection info, setting, flags;
    ASSERT_TRUE(mSystemParam::getSection(info, "System", "Info"));
    EXPECT_EQ(text("灯塔的信", "灯台の手紙"), info.GetString("Title", ""));
    ASSERT_TRUE(mSystemParam::getSection(setting, "System", "Setting"));
    EXPECT_EQ(800, setting.GetInt("ScreenWidth", 0));
    EXPECT_EQ(600, setting.GetInt("ScreenHeight", 0));
    EXPECT_STREQ("MorvaneLighthouse", setting.GetString("ProductID", ""));
    ASSERT_TRUE(mSystemParam::getSection(flags, "Define", "Flag"));
    // The clock's names in the texts' code page; the guard and the death count in Shift-JIS.
    EXPECT_EQ(encoded("シナリオ進行"), flags.GetString("L004", ""));
    EXPECT_EQ(encoded("Ｍフラグ合計"), flags.GetString("L005", ""));
    EXPECT_EQ(encoded("Ｌフラグ合計"), flags.GetString("L006", ""));
    EXPECT_EQ(encoded("シーン回想", 932), flags.GetString("L007", ""));
    EXPECT_EQ(encoded("死亡回数", 932), flags.GetString("G001", ""));
    // The patch archive's shore replaces the base archive's stand-in.
    const cPathNode* shore = findArchiveEntry("img\\bg_shore.png");
    ASSERT_NE(nullptr, shore);
    EXPECT_STREQ("patch.dat", shore->archive.c_str());
}

TEST_F(DemoScripts, TowerThenCliffIsTheDawnEnding) {
    play({"tower, cliff", {1, 1}});
    ASSERT_GE(host.shown.size(), 20u);
    EXPECT_EQ(text("傍晚的海风带着盐的味道。", "夕暮れの海風は、潮の匂いがした。"), host.shown[0].text);
    // The text choice, then the map.
    ASSERT_EQ((std::vector<std::string>{"", "island.map"}), host.choiceBegins);
    ASSERT_GE(host.options.size(), 5u);
    EXPECT_EQ(text("爬上灯塔", "灯台に登る"), host.options[0].second);
    EXPECT_EQ(text("去守灯人的小屋", "灯台守の小屋へ行く"), host.options[1].second);
    EXPECT_EQ(text("forest forest 1 线索", "forest forest 1 手掛かり"), host.options[4].second);
    EXPECT_TRUE(called("playMovie(data\\movie\\intro.ogv)"));
    EXPECT_TRUE(called("playBGM(bgm_shore.ogg,1)"));
    EXPECT_TRUE(called("setPendingVoice(yk\\yk_001.ogg)"));
    EXPECT_TRUE(called("maskWipeHard(rule_circle.png,1000)"));
    EXPECT_TRUE(called("loadAnime(0,beacon.img)"));
    EXPECT_TRUE(called("runTimedChoice(" + text("捕光,灯亮", "捕光,灯火") + ")"));
    EXPECT_TRUE(called("maskWipeSoft(rule_blinds.png,1500)"));
    EXPECT_TRUE(called("playBGM(bgm_ending.ogg,0)"));
    EXPECT_EQ(0u, shownWith(text("守灯人:", "灯台守:")));  // not on this route
    // The clock missed: the miss line, not the hit line.
    EXPECT_EQ(1u, shownWith(text("光一下子就散了", "光はすぐに消えてしまった")));
    EXPECT_EQ(0u, shownWith(text("抓住了", "つかまえた")));
    EXPECT_EQ(text("从那天起，灯塔每天晚上都会亮起来。", "その日から、灯台は毎晩ともるようになった。"),
              host.shown.back().text);
    EXPECT_EQ(1, getVariable(text("通关次数", "クリア回数").c_str()));
    EXPECT_EQ(0, getVariable(encoded("死亡回数", 932).c_str()));
    EXPECT_EQ(4, getVariable(encoded("シナリオ進行").c_str()));
    EXPECT_EQ(7, getVariable(encoded("Ｍフラグ合計").c_str()));
#ifndef MORVANE_EARLIER
    EXPECT_TRUE(called("flowResetRoute()"));
#endif
}

TEST_F(DemoScripts, TowerThenBeachIsTheSeaEnding) {
    play({"tower, beach", {1, 2}});
    EXPECT_TRUE(called("fadeOutBGM()"));
    EXPECT_TRUE(called("loadAnime(0,bg_beach.png)"));
    EXPECT_FALSE(called("loadAnime(0,bg_cliff.png)"));
    EXPECT_EQ(text("月光下，两个人在海边坐了很久。", "月明かりの下、二人は長いあいだ浜辺に座っていた。"),
              host.shown.back().text);
    EXPECT_EQ(1, getVariable(text("通关次数", "クリア回数").c_str()));
}

TEST_F(DemoScripts, HutThenForestIsTheFogEndingThroughTheCalledMemory) {
    play({"hut, forest", {2, 3}});
    EXPECT_EQ(0u, shownWith(text("楼梯", "階段")));  // the tower is not visited
    EXPECT_TRUE(called("maskWipeSoft(rule_diag.png,1200)"));
    EXPECT_TRUE(called("flashScreen(3,255/255/255)"));
    // The memory is the called level, in novel mode, with the quick-save guard up.
    size_t memory = 0;
    for (const ShownMessage& m : host.shown) {
        if (m.levels == 2) {
            ++memory;
            EXPECT_EQ(1, m.mode) << m.text;
        }
    }
    EXPECT_EQ(5u, memory);
    EXPECT_EQ(0, getVariable(encoded("シーン回想", 932).c_str()));  // lowered again at its end
    EXPECT_TRUE(called("loadAnime(0,fog.img)"));
    EXPECT_EQ(text("两个人在雾中走散了……", "二人は霧の中ではぐれてしまった……"), host.shown.back().text);
    EXPECT_EQ(1, getVariable(encoded("死亡回数", 932).c_str()));
    EXPECT_EQ(0, getVariable(text("通关次数", "クリア回数").c_str()));
    // The bad ending's reset clears the locals.
    EXPECT_EQ(0, getVariable(encoded("シナリオ進行").c_str()));
    EXPECT_EQ(0, getVariable(text("线索", "手掛かり").c_str()));
#ifndef MORVANE_EARLIER
    EXPECT_TRUE(called("flowResetAll()"));
#endif
}

TEST_F(DemoScripts, ASecondPlaythroughShowsTheLinesOfWhatWasSeen) {
    play({"hut, forest", {2, 3}});
    play({"hut, cliff", {2, 1}});
    // A seen fog ending adds a line on the island; no clear yet, so no line in the prologue.
    EXPECT_EQ(1u, shownWith(text("上次在森林里迷路", "この前みたいに森で迷う")));
    EXPECT_EQ(0u, shownWith(text("这片海我们好像来过", "この海には前にも来た")));
    const size_t before = host.shown.size();
    play({"tower, beach", {1, 2}});
    EXPECT_EQ(1u, shownWith(text("这片海我们好像来过", "この海には前にも来た")));
    EXPECT_GT(host.shown.size(), before);
}

TEST_F(DemoScripts, PicturesDecodeAtTheSizesTheEngineDrawsThemAt) {
    struct Size {
        const char* name;
        int32_t width, height, bytesPerPixel;
    };
    const Size sizes[] = {
        {"sys_box_normal.png", 800, 200, 4}, {"sys_box_base.png", 800, 200, 4},
        {"sys_box_noclock.png", 800, 200, 4}, {"sys_box_clock_a.png", 160, 160, 4},
        {"sys_box_clock_b.png", 160, 160, 4}, {"sys_box_clock_c.png", 160, 160, 4},
        {"sys_box_clock1.png", 170, 200, 4}, {"sys_box_clock2.png", 170, 200, 4},
        {"sys_box_clock3.png", 170, 200, 4}, {"sys_box_flash.png", 170, 200, 4},
        {"sys_box_prompt.png", 24, 192, 4}, {"sys_box_config.png", 80, 72, 4},
        {"sys_select_item.png", 600, 180, 4}, {"sys_log_bar.png", 20, 600, 4},
        {"sys_log_handle.png", 20, 60, 4}, {"sys_log_item.png", 780, 225, 4},
        {"sys_log_icon_up.png", 20, 60, 4}, {"sys_log_icon_down.png", 20, 60, 4},
        {"sys_save_base.png", 800, 600, 4}, {"sys_load_base.png", 800, 600, 4},
        {"sys_save_empty.png", 104, 78, 4}, {"sys_load_empty.png", 104, 78, 4},
        {"sys_save_cursor.png", 108, 82, 4}, {"sys_load_cursor.png", 108, 82, 4},
        {"sys_save_quick.png", 40, 18, 4}, {"sys_save_ok.png", 120, 40, 4},
        {"sys_save_del.png", 120, 40, 4}, {"sys_save_back.png", 120, 40, 4},
        {"sys_load_ok.png", 120, 40, 4}, {"sys_load_del.png", 120, 40, 4},
        {"sys_load_back.png", 120, 40, 4}, {"map_icon_cliff.png", 64, 256, 4},
        {"map_tip_cliff.png", 260, 56, 4}, {"rule_circle.png", 800, 600, 1},
        {"rule_blinds.png", 800, 600, 1}, {"rule_diag.png", 800, 600, 1},
        {"sys_splash.png", 800, 600, 3}, {"yk_base.png", 300, 520, 4},
        {"yk_face_smile.png", 140, 140, 4}, {"keeper.png", 280, 500, 4},
    };
    for (const Size& size : sizes) {
        cSprite sprite;
        ASSERT_TRUE(sprite.LoadPng(size.name)) << size.name;
        EXPECT_EQ(size.width, sprite.width) << size.name;
        EXPECT_EQ(size.height, sprite.height) << size.name;
        EXPECT_EQ(size.bytesPerPixel, sprite.bytesPerPixel) << size.name;
    }
#ifndef MORVANE_EARLIER
    cSprite flow;
    EXPECT_TRUE(flow.LoadPng("sys_flow_base.png"));
#endif

    // Every picture of the archives decodes; each background is 800 by 600 with the top band
    // the demo's document gives it (pixels are stored blue, green, red).
    const struct {
        const char* name;
        uint8_t red, green, blue;
    } bands[] = {
        {"bg_title.png", 20, 20, 60}, {"bg_shore.png", 60, 40, 100}, {"bg_stairs.png", 70, 50, 30},
        {"bg_lamp.png", 10, 20, 50}, {"bg_hut.png", 90, 60, 40}, {"bg_hut_past.png", 120, 100, 70},
        {"map_island.png", 40, 110, 160}, {"bg_cliff.png", 200, 120, 80},
        {"bg_beach.png", 20, 40, 70}, {"bg_forest.png", 30, 60, 40}, {"bg_end.png", 10, 10, 10},
    };
    for (const auto& band : bands) {
        cSprite sprite;
        ASSERT_TRUE(sprite.LoadPng(band.name)) << band.name;
        ASSERT_EQ(800, sprite.width);
        ASSERT_EQ(600, sprite.height);
        ASSERT_EQ(3, sprite.bytesPerPixel);
        for (int y : {0, 30, 59}) {
            const uint8_t* p = sprite.pixels + (size_t(y) * sprite.pitch + 400) * 3;
            EXPECT_EQ(band.blue, p[0]) << band.name;
            EXPECT_EQ(band.green, p[1]) << band.name;
            EXPECT_EQ(band.red, p[2]) << band.name;
        }
    }
    size_t pictures = 0;
    for (const auto& entry : gArchiveIndex) {
        const char* name = entry.first.c_str();
        if (std::strncmp(name, "img\\", 4) != 0) continue;
        cSprite sprite;
        EXPECT_TRUE(sprite.LoadPng(name + 4)) << name;
        ++pictures;
    }
    EXPECT_GT(pictures, 60u);
}
