// The engine reads what the packer packed: the packer writes with its host file calls into a
// scratch folder, the engine opens the same folder by its Windows path.
#include <windows.h>

#include <string>
#include <vector>

#include "config/registry.h"
#include "files/archiveIndex.h"
#include "files/dataFile.h"
#include "files/textBuf.h"
#include "packer.h"
#include "scratch.h"
#include "testing.h"

namespace {
using scratch::writeFile;

std::string windowsPath(const std::string& path) {
    std::string s = path;
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}
}  // namespace

TEST(PackerAndEngine, TheEngineReadsWhatThePackerPacked) {
    scratch::Folder root;
    std::string data = root / "data";
    // The base archive and a patch of higher priority that replaces one script.
    writeFile(root / "base/script/start.txt", "base start\r\nsecond line\r\n");
    writeFile(root / "base/script/other.txt", "other\r\n");
    writeFile(root / "base/config/config.txt", "system.txt\r\n");
    writeFile(root / "base/config/system.txt",
              "[System.Setting]\r\nScreenWidth=800\r\n[System.Option]\r\nQuitDialog=on\r\n");
    std::string image(5000, '\0');
    for (size_t i = 0; i < image.size(); ++i) image[i] = char(i * 13 + 1);
    writeFile(root / "base/img/Bg01.PNG", image);
    writeFile(root / "patch/script/start.txt", "patched start\r\n");
    scratch::makeFolders(data);
    std::string error;
    ASSERT_TRUE(packer::packFolder(root / "base", data + "/system.dat",
                                   {1, 77}, error))
        << error;
    ASSERT_TRUE(packer::packFolder(root / "patch", data + "/patch.dat",
                                   {2, 0}, error))
        << error;

    ASSERT_TRUE(setDataFolder((windowsPath(data) + "\\").c_str()));
    ASSERT_TRUE(scanDataArchives());
    EXPECT_EQ(5u, gArchiveIndex.size());

    cTextBuf text;
    ASSERT_TRUE(text.Load("script", "START.TXT"));
    ASSERT_EQ(1u, text.LineCount());
    EXPECT_STREQ("patched start", text.Line(0));
    ASSERT_TRUE(text.Load("script", "other.txt"));
    EXPECT_STREQ("other", text.Line(0));

    cFile f;
    ASSERT_TRUE(f.Open("img", "bg01.png"));
    EXPECT_EQ(77, f.Key());
    ASSERT_EQ(image.size(), f.Size());
    std::string back(image.size(), '\0');
    ASSERT_TRUE(f.Read(&back[0], 1000));
    ASSERT_TRUE(f.Read(&back[1000], 4000));
    EXPECT_EQ(image, back);
    f.Close();

    mSystemParam::loadConfig();
    mSystemParam::cSection s;
    ASSERT_TRUE(mSystemParam::getSection(s, "System", "Setting"));
    EXPECT_EQ(800, s.GetInt("ScreenWidth", 640));
    ASSERT_TRUE(mSystemParam::getSection(s, "System", "Option"));
    EXPECT_TRUE(s.GetBool("QuitDialog", false));

    gArchiveIndex.clear();
    gConfigRegistry.clear();
}
