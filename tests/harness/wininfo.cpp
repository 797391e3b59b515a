// Test tool: tells the whole-program tests what a running program's windows look like from the
// Windows side, and posts messages to them.
//   wininfo find <class>          every top-level window of the class, one block each
//   wininfo children <hwnd>       the child windows of a window
//   wininfo dialogs               the top-level dialog windows (message boxes among them)
//   wininfo close <hwnd>          posts WM_CLOSE
//   wininfo minimize <hwnd>       shows the window minimised
//   wininfo command <hwnd> <id>   posts WM_COMMAND with the id (a dialog button, say)
//   wininfo restore <hwnd>        restores a minimised window, as a taskbar button does
//   wininfo clipboard             the clipboard's plain text (CF_TEXT)
//   wininfo combo <hwnd>          a combo box's items and selection
//   wininfo classicon <hwnd>      where the window's caption shows its class's small icon
//   wininfo sync <hwnd>           returns once the window's thread has answered two messages sent
//                                 one after the other: it has been through its message loop since
//                                 (exit 1 when it did not answer within a minute)
// Texts are printed as hex bytes of the window's ANSI text, so tests compare exact bytes. Combo
// box items are printed as hex of UTF-16LE: read from another process, Wine answers the item text
// in UTF-16 whatever the call, so it is asked for in that form.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
void printHex(const char* key, const char* text) {
    std::printf("%s=", key);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        std::printf("%02x", *p);
    std::printf("\n");
}

void describe(HWND w) {
    char text[1024] = "";
    char cls[256] = "";
    GetWindowTextA(w, text, sizeof text);
    GetClassNameA(w, cls, sizeof cls);
    RECT wr, cr;
    GetWindowRect(w, &wr);
    GetClientRect(w, &cr);
    POINT origin = {0, 0};
    ClientToScreen(w, &origin);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    std::printf("hwnd=%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(w)));
    std::printf("class=%s\n", cls);
    std::printf("id=%ld\n", static_cast<long>(GetDlgCtrlID(w)));
    printHex("text", text);
    std::printf("window=%ld %ld %ld %ld\n", static_cast<long>(wr.left), static_cast<long>(wr.top),
                static_cast<long>(wr.right - wr.left), static_cast<long>(wr.bottom - wr.top));
    std::printf("client=%ld %ld %ld %ld\n", static_cast<long>(origin.x), static_cast<long>(origin.y),
                static_cast<long>(cr.right), static_cast<long>(cr.bottom));
    std::printf("visible=%d\niconic=%d\nenabled=%d\n", IsWindowVisible(w) ? 1 : 0,
                IsIconic(w) ? 1 : 0, IsWindowEnabled(w) ? 1 : 0);
    std::printf("style=%08lx\nexstyle=%08lx\n", static_cast<unsigned long>(GetWindowLongA(w, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(w, GWL_EXSTYLE)));
    std::printf("foreground=%d\n", GetForegroundWindow() == w ? 1 : 0);
    std::printf("owner=%llu\n",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetWindow(w, GW_OWNER))));
    std::printf("pid=%lu\n\n", static_cast<unsigned long>(pid));
}

const char* gWantedClass = nullptr;

BOOL CALLBACK eachTopLevel(HWND w, LPARAM) {
    char cls[256] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (std::strcmp(cls, gWantedClass) == 0) describe(w);
    return TRUE;
}

BOOL CALLBACK eachChild(HWND w, LPARAM) {
    describe(w);
    return TRUE;
}

HWND parseWindow(const char* text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text, nullptr, 10)));
}

int printClipboard() {
    if (!OpenClipboard(nullptr)) return 1;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    std::printf("available=%d\n", text ? 1 : 0);
    printHex("text", text ? text : "");
    if (text) GlobalUnlock(data);
    CloseClipboard();
    return 0;
}

void printCombo(HWND combo) {
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    std::printf("count=%ld\nselected=%ld\n", static_cast<long>(count),
                static_cast<long>(SendMessageW(combo, CB_GETCURSEL, 0, 0)));
    for (LRESULT i = 0; i < count; ++i) {
        WCHAR item[512] = {};
        LRESULT n = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        if (n < 0 || n >= 511) n = 0;
        if (n) SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        std::printf("item%ld=", static_cast<long>(i));
        for (LRESULT k = 0; k < n && item[k]; ++k)
            std::printf("%02x%02x", item[k] & 0xFF, (item[k] >> 8) & 0xFF);
        std::printf("\n");
    }
}

// Another process's class fields cannot be read here (Wine answers 0 for its icons), so the class's
// small icon is found where the caption shows it: the square at the caption's left, inside the
// frame, vertically centred, with two pixels of margin around it. Tests read its pixels.
void printClassIcon(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    LONG style = GetWindowLongA(w, GWL_STYLE);
    int frameX = GetSystemMetrics((style & WS_THICKFRAME) ? SM_CXFRAME : SM_CXDLGFRAME);
    int frameY = GetSystemMetrics((style & WS_THICKFRAME) ? SM_CYFRAME : SM_CYDLGFRAME);
    int size = GetSystemMetrics(SM_CXSMICON);
    int caption = GetSystemMetrics(SM_CYCAPTION);
    int x = r.left + frameX;
    int y = r.top + frameY + (caption - GetSystemMetrics(SM_CYSMICON)) / 2;
    std::printf("iconrect=%d %d %d %d\n", x, y > r.top ? y - 1 : y, size + 4, size + 2);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "find") == 0) {
        gWantedClass = argv[2];
        EnumWindows(eachTopLevel, 0);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "dialogs") == 0) {
        gWantedClass = "#32770";
        EnumWindows(eachTopLevel, 0);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "children") == 0) {
        EnumChildWindows(parseWindow(argv[2]), eachChild, 0);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "close") == 0)
        return PostMessageA(parseWindow(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
    if (argc >= 3 && std::strcmp(argv[1], "minimize") == 0) {
        ShowWindow(parseWindow(argv[2]), SW_MINIMIZE);
        return 0;
    }
    if (argc >= 4 && std::strcmp(argv[1], "command") == 0)
        return PostMessageA(parseWindow(argv[2]), WM_COMMAND, std::atoi(argv[3]), 0) ? 0 : 1;
    if (argc >= 3 && std::strcmp(argv[1], "restore") == 0) {
        ShowWindow(parseWindow(argv[2]), SW_RESTORE);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "clipboard") == 0) return printClipboard();
    if (argc >= 3 && std::strcmp(argv[1], "combo") == 0) {
        printCombo(parseWindow(argv[2]));
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "classicon") == 0) {
        printClassIcon(parseWindow(argv[2]));
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "sync") == 0) {
        const HWND w = parseWindow(argv[2]);
        DWORD_PTR result = 0;
        for (int i = 0; i < 2; ++i) {
            if (i) Sleep(20);
            if (!SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result)) return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "usage: wininfo find <class> | children <hwnd> | dialogs | close <hwnd> | "
                         "minimize <hwnd> | command <hwnd> <id> | restore <hwnd> | clipboard | "
                         "combo <hwnd> | classicon <hwnd> | sync <hwnd>\n");
    return 2;
}
