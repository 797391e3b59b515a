// The configuration dialog run in this test's own thread: work is done from inside its pump by a
// thread timer, so the test sees how the dialog ends (OK, Cancel, a key, a destruction, a quit).
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <vector>

#include "../../files/winTempFolder.h"
#include "app/inputPlatform.h"
#include "base/input.h"
#include "base/mainWindowHandle.h"
#include "base/moduleState.h"
#include "base/settings.h"
#include "files/saveFile.h"
#include "presentation/screens/configDialog.h"
#include "testing.h"

namespace {
HWND findDialog() { return FindWindowA("NovelConfigDLG", nullptr); }

std::vector<uint8_t> settingsBytes() {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&UserSettings);
    return std::vector<uint8_t>(p, p + sizeof UserSettings);
}

std::vector<HWND> gFound;
BOOL CALLBACK collect(HWND w, LPARAM cls) {
    char name[64] = "";
    GetClassNameA(w, name, sizeof name);
    if (lstrcmpiA(name, reinterpret_cast<const char*>(cls)) == 0) gFound.push_back(w);
    return TRUE;
}
std::vector<HWND> controls(HWND dialog, const char* cls) {
    gFound.clear();
    EnumChildWindows(dialog, collect, reinterpret_cast<LPARAM>(cls));
    return gFound;
}

// The topmost slider: the unread-text speed.
HWND unreadSlider(HWND dialog) {
    HWND best = nullptr;
    LONG top = 0;
    for (HWND w : controls(dialog, TRACKBAR_CLASSA)) {
        RECT r;
        GetWindowRect(w, &r);
        if (!best || r.top < top) best = w, top = r.top;
    }
    return best;
}

void (*gAction)(HWND dialog) = nullptr;
bool gActionRan = false;
void CALLBACK runAction(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    gActionRan = true;
    if (gAction) gAction(findDialog());
}

// A dialog that never ends would hang the test: a quit after ten seconds ends the pump instead.
void CALLBACK giveUp(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ADD_FAILURE() << "the dialog did not end";
    PostQuitMessage(0);
}

bool runWith(void (*action)(HWND dialog)) {
    gAction = action;
    gActionRan = false;
    SetTimer(nullptr, 0, 50, runAction);
    UINT_PTR fallback = SetTimer(nullptr, 0, 10000, giveUp);
    bool r = runConfigDialog();
    KillTimer(nullptr, fallback);
    EXPECT_TRUE(gActionRan);
    return r;
}

// The dialog opens over the main window: a plain window stands in for it.
struct ConfigDialogTest : testing::Test {
    TempFolder save;
    HWND owner = nullptr;
    void SetUp() override {
        resetEngineState();
        installPlatformInput();
        setSaveFolder(save.path().c_str());
        owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, owner);
        gMainWindow = owner;
    }
    void TearDown() override {
        gMainWindow = nullptr;
        if (owner) DestroyWindow(owner);
        resetEngineState();
    }
};
}  // namespace

TEST_F(ConfigDialogTest, OkStoresThePagesAndWritesTheFile) {
    bool ok = runWith([](HWND dialog) {
        ASSERT_NE(nullptr, dialog);
        SendMessageA(unreadSlider(dialog), TBM_SETPOS, TRUE, 4);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(nullptr, findDialog());
    EXPECT_EQ(4u, UserSettings.unreadTextSpeed);
    EXPECT_EQ(336u, TempFolder::readFile(save / "morvane.cfg").size());
}

TEST_F(ConfigDialogTest, CancelKeepsTheSettings) {
    const std::vector<uint8_t> before = settingsBytes();
    EXPECT_TRUE(runWith([](HWND dialog) {
        SendMessageA(unreadSlider(dialog), TBM_SETPOS, TRUE, 0);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_EQ(nullptr, findDialog());
    EXPECT_EQ(before, settingsBytes());
    EXPECT_TRUE(TempFolder::readFile(save / "morvane.cfg").empty());
}

TEST_F(ConfigDialogTest, EscapeAndKeypadPlusCancelButNotTheirRepeats) {
    static bool stayedOnRepeat;
    stayedOnRepeat = false;
    EXPECT_TRUE(runWith([](HWND dialog) {
        SendMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 1 << 30);  // a repeat
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        stayedOnRepeat = IsWindow(dialog) != 0;
        SendMessageA(dialog, WM_KEYDOWN, VK_ADD, 1);
    }));
    EXPECT_TRUE(stayedOnRepeat);
    EXPECT_EQ(nullptr, findDialog());
    EXPECT_TRUE(runWith([](HWND dialog) { SendMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 1); }));
    EXPECT_EQ(nullptr, findDialog());
}

TEST_F(ConfigDialogTest, ADialogDestroyedWithoutClosingCountsAsCancel) {
    const std::vector<uint8_t> before = settingsBytes();
    EXPECT_TRUE(runWith([](HWND dialog) {
        SendMessageA(unreadSlider(dialog), TBM_SETPOS, TRUE, 0);
        DestroyWindow(dialog);
    }));
    EXPECT_EQ(nullptr, findDialog());
    EXPECT_EQ(before, settingsBytes());
    // The dialog opens again afterwards.
    EXPECT_TRUE(runWith([](HWND dialog) {
        ASSERT_NE(nullptr, dialog);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(ConfigDialogTest, QuitWhileOpenReturnsAtOnceWithTheDialogGone) {
    const std::vector<uint8_t> before = settingsBytes();
    EXPECT_FALSE(runWith([](HWND dialog) {
        SendMessageA(unreadSlider(dialog), TBM_SETPOS, TRUE, 0);
        PostQuitMessage(0);
    }));
    EXPECT_EQ(nullptr, findDialog());
    EXPECT_EQ(before, settingsBytes());
    EXPECT_TRUE(TempFolder::readFile(save / "morvane.cfg").empty());
}

TEST_F(ConfigDialogTest, OwnerDisabledWhileOpenAndEnabledAfter) {
    static bool disabled, owned;
    disabled = owned = false;
    EXPECT_TRUE(runWith([](HWND dialog) {
        disabled = !IsWindowEnabled(gMainWindow);
        owned = GetWindow(dialog, GW_OWNER) == gMainWindow;
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(owned);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(ConfigDialogTest, WithoutTheMainWindowNothingOpens) {
    // Gone at WM_DESTROY: the program is quitting. A loop whose pump dispatches nothing (a test's
    // input) must not wait on a window either.
    gMainWindow = nullptr;
    const std::vector<uint8_t> before = settingsBytes();
    UINT_PTR fallback = SetTimer(nullptr, 0, 10000, giveUp);
    EXPECT_FALSE(runConfigDialog());
    KillTimer(nullptr, fallback);
    EXPECT_EQ(nullptr, findDialog());
    EXPECT_EQ(before, settingsBytes());
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(ConfigDialogTest, TheMainWindowDestroyedWhileOpenEndsTheDialog) {
    // Its owned dialog goes with it; nothing is stored and the caller hears of the quit.
    const std::vector<uint8_t> before = settingsBytes();
    static HWND* ownerOf;
    ownerOf = &owner;
    EXPECT_FALSE(runWith([](HWND dialog) {
        ASSERT_NE(nullptr, dialog);
        SendMessageA(unreadSlider(dialog), TBM_SETPOS, TRUE, 0);
        DestroyWindow(*ownerOf);
        *ownerOf = nullptr;
        gMainWindow = nullptr;  // as the main window's WM_DESTROY does
    }));
    EXPECT_EQ(nullptr, findDialog());
    EXPECT_EQ(before, settingsBytes());
    EXPECT_TRUE(TempFolder::readFile(save / "morvane.cfg").empty());
}

TEST_F(ConfigDialogTest, OneFontForEveryOpeningUntilShutdown) {
    static HFONT first, second;
    first = second = nullptr;
    runWith([](HWND dialog) {
        first = reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(dialog, IDOK), WM_GETFONT, 0, 0));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    runWith([](HWND dialog) {
        second = reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(dialog, IDOK), WM_GETFONT, 0, 0));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, second);
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(first));
    exitUIFont();
    EXPECT_EQ(0u, GetObjectType(first));
    exitUIFont();  // a second time does nothing
}
