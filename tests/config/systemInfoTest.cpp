#include "config/systemInfo.h"

#include <string>

#include "base/cpuInfo.h"
#include "config/registry.h"
#include "files/textBuf.h"
#include "testing.h"

namespace {
// Replaces the registry with one configuration file's text (lines end with CR LF).
void configure(const std::string& text) {
    gConfigRegistry.clear();
    cTextBuf file;
    if (!text.empty()) {
        ASSERT_TRUE(file.SetText(text.c_str()));
        mSystemParam::parseConfigFile(file);
    }
}

void loadFresh(const std::string& text) {
    configure(text);
    forgetScreenSizeForTest();
    loadSystemInfo();
}
}  // namespace

TEST(SystemInfo, ValuesDefaultsAndEmptyValues) {
    loadFresh(
        "[System.Info]\r\nTitle=Quellwood\r\nVendor=\r\nVersion=1.02\r\n"
        "[System.Setting]\r\nScreenWidth=800\r\nScreenHeight=600\r\nProductID=QW-01\r\n"
        "VolumeID=VOL\r\nStartup=go.txt\r\n"
        "[System.Option]\r\nSplashImage=splash.png\r\nQuitDialog=on\r\n");
    EXPECT_STREQ(getTitle(), "Quellwood");
    EXPECT_STREQ(getVendor(), "");     // an empty value clears
    EXPECT_STREQ(getVersion(), "1.02");
    EXPECT_STREQ(getDate(), "???");    // a missing key gives the default
    EXPECT_STREQ(getProductID(), "QW-01");
    EXPECT_STREQ(getVolumeID(), "VOL");
    EXPECT_STREQ(getStartup(), "go.txt");
    EXPECT_STREQ(getSplashImage(), "splash.png");
    EXPECT_TRUE(getQuitDialogOption());
    EXPECT_EQ(gScreenWidth, 800);
    EXPECT_EQ(gScreenHeight, 600);

    // No configuration at all: every default, and strings of an earlier reading are replaced.
    loadFresh("");
    EXPECT_STREQ(getTitle(), "???");
    EXPECT_STREQ(getVendor(), "???");
    EXPECT_STREQ(getVersion(), "???");
    EXPECT_STREQ(getDate(), "???");
    EXPECT_STREQ(getProductID(), "");
    EXPECT_STREQ(getVolumeID(), "");
    EXPECT_STREQ(getStartup(), "");
    EXPECT_STREQ(getSplashImage(), "");
    EXPECT_FALSE(getQuitDialogOption());
    EXPECT_FALSE(isMMXEnabled());
    EXPECT_EQ(gScreenWidth, 640);
    EXPECT_EQ(gScreenHeight, 480);

    // An empty Title gives an empty caption text; key names match in any case.
    loadFresh("[system.info]\r\ntitle=\r\n");
    EXPECT_STREQ(getTitle(), "");
}

TEST(SystemInfo, MmxOnlyWhereTheProcessorHasIt) {
    loadFresh("[System.Option]\r\nEnableMMX=on\r\n");
    EXPECT_EQ(isMMXEnabled(), hasMMX());
    loadFresh("[System.Option]\r\nEnableMMX=off\r\n");
    EXPECT_FALSE(isMMXEnabled());
    loadFresh("[System.Option]\r\nEnableMMX=yes\r\n");  // not a truth word: the default
    EXPECT_FALSE(isMMXEnabled());
}

TEST(SystemInfo, ScreenSizeIsTakenOnceAndOnlyWhenUsable) {
    struct Case {
        const char* width;
        const char* height;
        int w, h;
    };
    const Case cases[] = {
        {"1024", "768", 1024, 768},   {"642", "480", 642, 480},
        {"0", "480", 640, 480},       {"800", "-600", 640, 480},
        {"-1", "-1", 640, 480},       {"abc", "600", 640, 480},  // not numeric: 0
        {"65536", "16384", 640, 480}, {"65536", "16383", 65536, 16383},
        {"99999999999", "1", 640, 480},  // saturates, still too large
        {"1", "1", 1, 1},
    };
    for (const Case& c : cases) {
        loadFresh(std::string("[System.Setting]\r\nScreenWidth=") + c.width + "\r\nScreenHeight=" +
                  c.height + "\r\n");
        EXPECT_EQ(gScreenWidth, c.w) << c.width << "x" << c.height;
        EXPECT_EQ(gScreenHeight, c.h) << c.width << "x" << c.height;
    }

    // The second reading (over all archives) changes the strings but never the screen size.
    loadFresh("[System.Info]\r\nTitle=First\r\n[System.Setting]\r\nScreenWidth=800\r\n"
              "ScreenHeight=600\r\n");
    configure("[System.Info]\r\nTitle=Second\r\n[System.Setting]\r\nScreenWidth=1024\r\n"
              "ScreenHeight=768\r\n");
    loadSystemInfo();
    EXPECT_STREQ(getTitle(), "Second");
    EXPECT_EQ(gScreenWidth, 800);
    EXPECT_EQ(gScreenHeight, 600);
    forgetScreenSizeForTest();
    loadFresh("");
}
