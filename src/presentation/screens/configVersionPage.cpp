// The configuration dialog's version page: the game's product data, the system's own version, the
// PC's facts, and the button that copies them as a report to the clipboard.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>

#include "base/appHooks.h"
#include "base/cpuInfo.h"
#include "base/moduleState.h"
#include "base/uiText.h"
#include "config/systemInfo.h"
#include "media/movie.h"
#include "media/sound.h"
#include "media/soundDevice.h"
#include "presentation/screens/configControls.h"
#include "presentation/screens/configDialogPages.h"
#include "presentation/screens/versionText.h"

namespace {
constexpr int kIdCopy = 999;

struct VersionPageState {
    HWND page = nullptr;
    HWND padLine = nullptr;
    WNDPROC pageProc = nullptr;  // the page's own procedure
};
VersionPageState gVersion;
const cModuleReset kReset(0, [] { gVersion = VersionPageState(); });

// The Windows version text; "" and false when it cannot be read.
bool osVersionText(char* out) {
    out[0] = 0;
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return false;
    char servicePack[sizeof info.szCSDVersion + 1] = {};
    std::memcpy(servicePack, info.szCSDVersion, sizeof info.szCSDVersion);
    OsVersionFacts facts;
    facts.major = info.dwMajorVersion;
    facts.minor = info.dwMinorVersion;
    facts.build = info.dwBuildNumber;
    facts.platform = info.dwPlatformId;
    facts.servicePack = servicePack;
    ::osVersionText(facts, out, kVersionTextSize);
    return true;
}

// The DirectX text from the registry value "Version"; "" and false when it cannot be read.
bool directXVersionText(char* out) {
    out[0] = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\DirectX", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    // Read into a zeroed buffer one byte short of its size, so the value always ends.
    char value[kVersionTextSize] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    LONG r = RegQueryValueExA(key, "Version", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) return false;
    value[sizeof value - 1] = 0;
    return ::directXVersionText(value, out, kVersionTextSize);
}

bool formatMemorySize(char* out) {
    if (!out) return false;
    MEMORYSTATUS status = {};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    ::formatMemorySize(static_cast<uint64_t>(status.dwTotalPhys), out, kVersionTextSize);
    return true;
}

void missingFeaturesText(char* out) {
    MissingFeatures missing;
    missing.noMmx = !hasMMX();
    missing.noDirectDraw = !appDirectDrawAvailable();
    missing.noSound = !isSoundAvailable();
    missing.noMovie = !initMovie();
    shutdownMovie();
    ::missingFeaturesText(missing, out, kVersionTextSize);
}

void cpuName(char* out) {
    char name[kCpuNameSize] = "";
    getCpuName(name, sizeof name);
    std::snprintf(out, kVersionTextSize, "%s", name);
}

void copyToClipboard(HWND owner, const vstring& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
    if (!memory) return;
    if (void* p = GlobalLock(memory)) {
        std::memcpy(p, text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
    }
    if (OpenClipboard(owner) && EmptyClipboard() && SetClipboardData(CF_TEXT, memory)) {
        CloseClipboard();  // the clipboard owns the memory now
        return;
    }
    CloseClipboard();
    GlobalFree(memory);
}

void copyVersionReport(HWND page) {
    char os[kVersionTextSize], directX[kVersionTextSize], cpu[kVersionTextSize];
    char memory[kVersionTextSize];
    osVersionText(os);
    directXVersionText(directX);
    cpuName(cpu);
    formatMemorySize(memory);
    VersionFacts facts;
    facts.title = getTitle();
    facts.vendor = getVendor();
    facts.version = getVersion();
    facts.date = getDate();
    facts.osText = os;
    facts.directXText = directX;
    facts.cpuName = cpu;
    facts.memoryText = memory;
    facts.videoMemory = appVideoMemory();
    copyToClipboard(page, buildVersionReport(facts));
}

LRESULT CALLBACK versionPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == kIdCopy) copyVersionReport(window);
        return 0;
    }
    WNDPROC own = gVersion.pageProc;
    return own ? CallWindowProcA(own, window, message, wParam, lParam)
               : DefWindowProcA(window, message, wParam, lParam);
}

void labelled(HWND group, UiText label, const char* value, int y, int labelWidth, int valueX,
              int valueWidth, int valueHeight, HWND* valueWindow = nullptr) {
    createStaticText(group, uiText(label), 8, y, labelWidth, 12, SS_RIGHT);
    HWND v = createStaticText(group, value, valueX, y, valueWidth, valueHeight, 0);
    if (valueWindow) *valueWindow = v;
}
}  // namespace

bool buildVersionPage(HWND page) {
    gVersion = VersionPageState();
    char text[kVersionTextSize];

    HWND product = createGroupBox(page, uiText(UiText::VerGroupProduct), 8, 8, 297, 177, 0);
    labelled(product, UiText::VerTitle, getTitle(), 32, 110, 124, 170, 12);
    labelled(product, UiText::VerVendor, getVendor(), 64, 110, 124, 170, 12);
    labelled(product, UiText::VerDataVersion, getVersion(), 96, 110, 124, 170, 12);
    labelled(product, UiText::VerRelease, getDate(), 128, 110, 124, 170, 12);

    HWND system = createGroupBox(page, uiText(UiText::VerGroupSystem), 8, 192, 297, 137, 0);
    labelled(system, UiText::VerSystemName, kSystemName, 32, 110, 124, 170, 12);
    labelled(system, UiText::VerSystemVersion, systemVersionText(), 64, 110, 124, 170, 12);
    formatBuildDate(buildCompileDate(), text, sizeof text);
    labelled(system, UiText::VerBuildDate, text, 96, 110, 124, 170, 12);

    HWND info = createGroupBox(page, uiText(UiText::VerGroupInfo), 312, 8, 297, 321, 0);
    osVersionText(text);
    labelled(info, UiText::VerOs, text, 32, 60, 74, 220, 12);
    directXVersionText(text);
    labelled(info, UiText::VerDirectX, text, 64, 60, 74, 220, 12);
    cpuName(text);
    labelled(info, UiText::VerCpu, text, 96, 60, 74, 220, 12);
    formatMemorySize(text);
    labelled(info, UiText::VerMemory, text, 128, 60, 74, 220, 12);
    formatVideoMemory(appVideoMemory(), text, sizeof text);
    labelled(info, UiText::VerVram, text, 160, 60, 74, 220, 12);
    labelled(info, UiText::VerPad, "", 192, 60, 74, 220, 12, &gVersion.padLine);
    missingFeaturesText(text);
    labelled(info, UiText::VerExtra, text, 224, 60, 74, 220, 76);

    createPushButton(page, kIdCopy, uiText(UiText::VerCopy), 400, 341, 200, 40, 0);
    gVersion.page = page;
    gVersion.pageProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(versionPageProc)));

    JOYCAPSA caps = {};
    if (joyGetDevCapsA(JOYSTICKID1, &caps, sizeof caps) == JOYERR_NOERROR)
        padInfoText(caps.wNumButtons);
    return true;
}

void padInfoText(int64_t buttonCount) {
    if (!gVersion.padLine || !IsWindow(gVersion.padLine)) return;
    char text[kVersionTextSize];
    padInfoText(buttonCount, text, sizeof text);
    SetWindowTextA(gVersion.padLine, text);
}

void forgetVersionPage() {
    if (gVersion.page && gVersion.pageProc && IsWindow(gVersion.page))
        SetWindowLongPtrA(gVersion.page, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(gVersion.pageProc));
    gVersion = VersionPageState();
}
