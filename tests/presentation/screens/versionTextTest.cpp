#include "presentation/screens/versionText.h"

#include <cstring>
#include <string>

#include "testing.h"

namespace {
#ifdef MORVANE_EARLIER
const char* const kMissing[4] = {
    "MMX\x82\xf0\x83T\x83|\x81[\x83g\x82\xb5\x82\xc4\x82\xdc\x82\xb9\x82\xf1\n",
    "\xcc\xd9\xbd\xb8\xd8\xb0\xdd\x89\xbb\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1 [DirectDraw]\n",
    "\x89\xb9\x90\xba\x82\xaa\x8fo\x97\xcd\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1 [DirectSound]\n",
    "\xd1\xb0\xcb\xde\xb0\x82\xaa\x8d\xc4\x90\xb6\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1 [DirectShow]\n",
};
const char kPad12[] = "\x90\xda\x91\xb1\x8d\xcf\x82\xdd \x81i12 \x83{\x83^\x83\x93\x81j";
const char kReport[] =
    "\x83o\x81[\x83W\x83\x87\x83\x93\x8f\xee\x95\xf1\x81i\x83T\x83|\x81[\x83g\x88\xb6\x82\xcc\x83\x81\x81[\x83\x8b\x82\xc9\x93\x5c\x82\xe8\x95t\x82\xaf\x82\xc4\x89\xba\x82\xb3\x82\xa2\x81j\r\n"
    "----------------------------------------------------------------\r\n"
    "\r\n"
    "[System version]\r\n"
    "Name\x81" "FMorvane Novel System\r\n"
    "Version\x81" "F1.03\r\n"
    "Build\x81" "F2004/06/15\r\n"
    "\r\n"
    "[Product info]\r\n"
    "Title\x81" "FQuellwood\r\n"
    "Vendor\x81" "FMorvane Works\r\n"
    "Version\x81" "F1.2\r\n"
    "Release\x81" "F2004/07/15\r\n"
    "\r\n"
    "[System info]\r\n"
    "OS\x81" "FMicrosoft Windows XP  (5.1.2600)\r\n"
    "DirectX\x81" "FDirectX 9.0 (4.09.00.0904)\r\n"
    "CPU\x81" "FTest CPU 3000\r\n"
    "RAM\x81" "F2 GB\r\n"
    "VRAM\x81" "F68 MB\r\n"
    "\r\n"
    "----------------------------------------------------------------\r\n"
    ;
#else
const char* const kMissing[4] = {
    "\xb2\xbb\xd6\xa7\xb3\xd6MMX\xd6\xb8\xc1\xee\xbc\xaf        \n",
    "\xb2\xbb\xc4\xdc\xca\xb9\xd3\xc3\xc8\xab\xc6\xc1\xc4\xa3\xca\xbd\xa1\xa4[DirectDraw]  \n",
    "\xc3\xbb\xd3\xd0\xc9\xf9\xd2\xf4[DirectSound]             \n",
    "\xb2\xbb\xc4\xdc\xb2\xa5\xb7\xc5Movie\xa1\xa4 [DirectShow]      \n",
};
const char kPad12[] = "\xd2\xd1\xc1\xac\xbd\xd3   \xa3\xa8" "12 \xb0\xb4\xe6I\xa3\xa9";
const char kReport[] =
    "Version\xd0\xc5\xcf\xa2\xa3\xa8\xd5\x88\x8c\xa2Support\xe0]\xbc\xfe\xb5\xd8\xd6\xb7\xd5\xb3\xd9N\xc8\xe7\xcf\xc2\xa3\xa9            \r\n"
    "----------------------------------------------------------------\r\n"
    "\r\n"
    "[System version]\r\n"
    "Name\xa3\xbaMorvane Novel System\r\n"
    "Version\xa3\xba" "1.03b\r\n"
    "Build\xa3\xba" "2004/07/15\r\n"
    "\r\n"
    "[Product info]\r\n"
    "Title\xa3\xbaQuellwood\r\n"
    "Vendor\xa3\xbaMorvane Works\r\n"
    "Version\xa3\xba" "1.2\r\n"
    "Release\xa3\xba" "2004/07/15\r\n"
    "\r\n"
    "[System info]\r\n"
    "OS\xa3\xbaMicrosoft Windows XP  (5.1.2600)\r\n"
    "DirectX\xa3\xba" "DirectX 9.0 (4.09.00.0904)\r\n"
    "CPU\xa3\xbaTest CPU 3000\r\n"
    "RAM\xa3\xba" "2 GB\r\n"
    "VRAM\xa3\xba" "68 MB\r\n"
    "\r\n"
    "----------------------------------------------------------------\r\n"
    ;
#endif

std::string buildDate(const char* date) {
    char out[kVersionTextSize];
    formatBuildDate(date, out, sizeof out);
    return out;
}
}  // namespace

TEST(VersionText, SystemVersionAndBuildDateOfTheConfiguration) {
#ifdef MORVANE_EARLIER
    EXPECT_STREQ("1.03", systemVersionText());
    EXPECT_EQ("2004/06/15", buildDate(buildCompileDate()));
#else
    EXPECT_STREQ("1.03b", systemVersionText());
    EXPECT_EQ("2004/07/15", buildDate(buildCompileDate()));
#endif
}

TEST(VersionText, BuildDate) {
    const struct {
        const char* date;
        const char* expected;
    } cases[] = {
        {"Jul 15 2004", "2004/07/15"},
        {"Jun 15 2004", "2004/06/15"},
        {"jan 1 1999", "1999/01/1"},       // the day as written
        {"DECEMBER 31 2020", "2020/12/31"},  // the first three letters, any case
        {"*** 1 2004", "?"},               // the table's placeholder is no month
        {"Ju 1 2004", "?"},                // fewer than three letters
        {"Xyz 1 2004", "?"},
        {"Jul 15", "?"},                   // fewer than three words
        {"", "?"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, buildDate(c.date)) << c.date;
    EXPECT_EQ("?", buildDate(nullptr));
}

TEST(VersionText, BuildDateWithLongWordsStaysInItsBuffer) {
    std::string year(1000, '9');
    char out[kVersionTextSize];
    formatBuildDate(("Jul 15 " + year).c_str(), out, sizeof out);
    EXPECT_EQ(kVersionTextSize - 1, std::strlen(out));
    EXPECT_EQ(0, std::strncmp(out, "9999", 4));
}

TEST(VersionText, MemorySize) {
    const struct {
        uint64_t megabytes;
        const char* expected;
    } cases[] = {
        {0, "0 MB"}, {1023, "1023 MB"}, {1024, "1 GB"}, {1536, "1 GB"}, {2048, "2 GB"},
        {64ull * 1024 * 1024, "65536 GB"},  // beyond 32 bits of bytes
    };
    for (const auto& c : cases) {
        char out[kVersionTextSize];
        formatMemorySize(c.megabytes * 1048576, out, sizeof out);
        EXPECT_STREQ(c.expected, out) << c.megabytes;
    }
    char out[kVersionTextSize];
    formatMemorySize(1048575, out, sizeof out);  // below a megabyte
    EXPECT_STREQ("0 MB", out);
    formatMemorySize(UINT64_MAX, out, sizeof out);
    EXPECT_STREQ("17179869183 GB", out);
}

TEST(VersionText, VideoMemoryRoundsToWholeMegabytes) {
    const struct {
        uint64_t bytes;
        const char* expected;
    } cases[] = {
        {0, "0 MB"}, {524287, "0 MB"}, {524288, "1 MB"}, {64ull << 20, "64 MB"},
        {(64ull << 20) + (1280 * 1024 * 3), "68 MB"}, {5ull << 32, "20480 MB"},
        {UINT64_MAX, "17592186044416 MB"},
    };
    for (const auto& c : cases) {
        char out[kVersionTextSize];
        formatVideoMemory(c.bytes, out, sizeof out);
        EXPECT_STREQ(c.expected, out) << c.bytes;
    }
}

TEST(VersionText, DirectX) {
    const struct {
        const char* value;
        bool ok;
        const char* expected;
    } cases[] = {
        {"4.09.00.0904", true, "DirectX 9.0 (4.09.00.0904)"},
        {"4.08.01.0881", true, "DirectX 8.1 (4.08.01.0881)"},
        {"4", true, "DirectX 0.0 (4)"},  // numbers that are missing count as 0
        {"4.7", true, "DirectX 7.0 (4.7)"},
        {"5.0.0.0", false, ""},
        {"", false, ""},
        {"x.9.0.0", false, ""},
        {"4.99999999999999999999.1.1", true, "DirectX 2147483647.1 (4.99999999999999999999.1.1)"},
    };
    for (const auto& c : cases) {
        char out[kVersionTextSize] = "junk";
        EXPECT_EQ(c.ok, directXVersionText(c.value, out, sizeof out)) << c.value;
        EXPECT_STREQ(c.expected, out) << c.value;
    }
    char out[kVersionTextSize] = "junk";
    EXPECT_FALSE(directXVersionText(nullptr, out, sizeof out));
    EXPECT_STREQ("", out);
}

TEST(VersionText, DirectXOfALongValueStaysInItsBuffer) {
    // The registry value is read into 259 bytes: the text around it is cut at the buffer's end.
    std::string value = "4.09." + std::string(254, '7');
    ASSERT_EQ(259u, value.size());
    char out[kVersionTextSize];
    EXPECT_TRUE(directXVersionText(value.c_str(), out, sizeof out));
    EXPECT_EQ(kVersionTextSize - 1, std::strlen(out));
    EXPECT_EQ(0, std::strncmp(out, "DirectX 9.2147483647 (4.09.777", 30));
}

TEST(VersionText, OperatingSystemRows) {
    const struct {
        uint32_t major, minor, build, platform;
        const char* servicePack;
        const char* expected;
    } cases[] = {
        {3, 51, 1057, 2, "", "Microsoft Windows NT 3.51  (3.51.1057)"},
        {4, 0, 1381, 2, "Service Pack 6", "Microsoft Windows NT 4.0  (4.0.1381)"},
        {4, 0, 950, 1, "", "Microsoft Windows 95  (4.0.950)"},
        {4, 0, 950, 1, "a", "Microsoft Windows 95 SP1 (4.0.950)"},
        {4, 0, 1111, 1, "B", "Microsoft Windows 95 OSR2 (4.0.1111)"},
        {4, 0, 1212, 1, "C", "Microsoft Windows 95 OSR2.5 (4.0.1212)"},
        {4, 0, 950, 1, " a ", "Microsoft Windows 95  (4.0.950)"},  // the whole text compares
        {4, 10, 1998, 1, "", "Microsoft Windows 98  (4.10.1998)"},
        {4, 10, 2222, 1, "A", "Microsoft Windows 98 SE (4.10.2222)"},
        {4, 10, 2222, 1, "a", "Microsoft Windows 98  (4.10.2222)"},
        {4, 90, 3000, 1, "", "Microsoft Windows ME  (4.90.3000)"},
        {5, 0, 2195, 2, "Service Pack 4", "Microsoft Windows 2000  (5.0.2195)"},
        {5, 1, 2600, 2, "Service Pack 3", "Microsoft Windows XP  (5.1.2600)"},
        {5, 2, 3790, 2, "", "Microsoft Windows   (5.2.3790)"},
        {6, 1, 7601, 2, "Service Pack 1", "Microsoft Windows   (6.1.7601)"},
        {4, 1, 0, 1, "", "Microsoft Windows   (4.1.0)"},
    };
    for (const auto& c : cases) {
        OsVersionFacts f;
        f.major = c.major;
        f.minor = c.minor;
        f.build = c.build;
        f.platform = c.platform;
        f.servicePack = c.servicePack;
        char out[kVersionTextSize];
        osVersionText(f, out, sizeof out);
        EXPECT_STREQ(c.expected, out);
    }
}

TEST(VersionText, MissingFeaturesInEveryCombination) {
    for (int bits = 0; bits < 16; ++bits) {
        MissingFeatures m;
        m.noMmx = bits & 1;
        m.noDirectDraw = bits & 2;
        m.noSound = bits & 4;
        m.noMovie = bits & 8;
        std::string expected;
        for (int i = 0; i < 4; ++i)
            if (bits & (1 << i)) expected += kMissing[i];
        char out[kVersionTextSize] = "junk";
        missingFeaturesText(m, out, sizeof out);
        EXPECT_EQ(expected, out) << bits;
    }
}

TEST(VersionText, PadLine) {
    char out[kVersionTextSize] = "junk";
    padInfoText(12, out, sizeof out);
    EXPECT_STREQ(kPad12, out);
    padInfoText(0, out, sizeof out);
    EXPECT_STREQ("", out);
    std::strcpy(out, "junk");
    padInfoText(-3, out, sizeof out);
    EXPECT_STREQ("", out);
}

TEST(VersionText, ReportOfTheConfiguration) {
    VersionFacts f;
    f.title = "Quellwood";
    f.vendor = "Morvane Works";
    f.version = "1.2";
    f.date = "2004/07/15";
    f.osText = "Microsoft Windows XP  (5.1.2600)";
    f.directXText = "DirectX 9.0 (4.09.00.0904)";
    f.cpuName = "Test CPU 3000";
    f.memoryText = "2 GB";
    f.videoMemory = (64ull << 20) + 1280 * 1024 * 3;
    EXPECT_EQ(std::string(kReport), buildVersionReport(f).c_str());
}

TEST(VersionText, ReportGrowsBeyondTheTextBuffers) {
    // Every value may fill its own buffer: the report holds them all.
    std::string longValue(kVersionTextSize - 1, 'v');
    VersionFacts f;
    f.title = f.vendor = f.version = f.date = longValue.c_str();
    f.osText = f.directXText = f.cpuName = f.memoryText = longValue.c_str();
    vstring r = buildVersionReport(f);
    EXPECT_GT(r.size(), 8 * longValue.size());
    EXPECT_EQ(std::string::npos, std::string(r.c_str()).find(std::string(kVersionTextSize, 'v')));

    VersionFacts empty;
    empty.title = empty.vendor = nullptr;
    EXPECT_NE(nullptr, std::strstr(buildVersionReport(empty).c_str(), "[Product info]"));
}
