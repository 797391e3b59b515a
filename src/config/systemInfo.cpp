#include "config/systemInfo.h"

#include "base/cpuInfo.h"
#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "config/registry.h"
#include "base/vstring.h"

namespace {
struct SystemInfo {
    vstring title;
    vstring vendor;
    vstring version;
    vstring date;
    vstring volumeId;
    vstring productId;
    vstring startup;
    vstring splashImage;
    bool mmxEnabled = false;
    bool quitDialog = false;
    bool screenSizeTaken = false;
};

SystemInfo gSystemInfo MODULE_OBJECT(kOrderSystemInfo);

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

const cModuleReset kReset(kOrderSystemInfo, [] {
    gSystemInfo = SystemInfo();
    gScreenWidth = kDefaultWidth;
    gScreenHeight = kDefaultHeight;
});

void readString(const mSystemParam::cSection& section, const char* key, const char* def,
                vstring& out) {
    const char* value = section.GetString(key, def);
    if (value && *value) out = value;
    else out.clear();
}
}  // namespace

void validScreenSize(int64_t width, int64_t height, int& outWidth, int& outHeight) {
    // Every frame of the screen, also a 32-bit full-screen surface, must fit a 32-bit byte count.
    if (width > 0 && height > 0 && width * height <= int64_t(0xFFFFFFFF) / 4) {
        outWidth = static_cast<int>(width);
        outHeight = static_cast<int>(height);
    } else {
        outWidth = kDefaultWidth;
        outHeight = kDefaultHeight;
    }
}

void loadSystemInfo() {
    mSystemParam::cSection info;
    mSystemParam::getSection(info, "System", "Info");
    readString(info, "Title", "???", gSystemInfo.title);
    readString(info, "Vendor", "???", gSystemInfo.vendor);
    readString(info, "Version", "???", gSystemInfo.version);
    readString(info, "Date", "???", gSystemInfo.date);

    mSystemParam::cSection setting;
    mSystemParam::getSection(setting, "System", "Setting");
    if (!gSystemInfo.screenSizeTaken) {
        validScreenSize(setting.GetInt("ScreenWidth", kDefaultWidth),
                        setting.GetInt("ScreenHeight", kDefaultHeight), gScreenWidth, gScreenHeight);
        gSystemInfo.screenSizeTaken = true;
    }
    readString(setting, "VolumeID", "", gSystemInfo.volumeId);
    readString(setting, "ProductID", "", gSystemInfo.productId);
    readString(setting, "Startup", "", gSystemInfo.startup);

    mSystemParam::cSection option;
    mSystemParam::getSection(option, "System", "Option");
    gSystemInfo.mmxEnabled = hasMMX() && option.GetBool("EnableMMX", false);
    readString(option, "SplashImage", "", gSystemInfo.splashImage);
    gSystemInfo.quitDialog = option.GetBool("QuitDialog", false);
}

const char* getTitle() { return gSystemInfo.title.c_str(); }
const char* getVendor() { return gSystemInfo.vendor.c_str(); }
const char* getVersion() { return gSystemInfo.version.c_str(); }
const char* getDate() { return gSystemInfo.date.c_str(); }
const char* getVolumeID() { return gSystemInfo.volumeId.c_str(); }
const char* getProductID() { return gSystemInfo.productId.c_str(); }
const char* getStartup() { return gSystemInfo.startup.c_str(); }
const char* getSplashImage() { return gSystemInfo.splashImage.c_str(); }
bool isMMXEnabled() { return gSystemInfo.mmxEnabled; }
bool getQuitDialogOption() { return gSystemInfo.quitDialog; }

void forgetScreenSizeForTest() { gSystemInfo.screenSizeTaken = false; }
