// The text-input box on a real window, driven by posted messages: the window's procedure runs a
// list of steps, one per posted WM_APP, while the box's pump dispatches them, so every step sees
// the box open. Accept by Enter, Tab, a click beside the field and the focus lost; cancel by Esc
// and quit; the length limit with whole characters; the font; the swallowed commands; the click
// that closes the box fires no button.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/inputPlatform.h"
#include "base/configuration.h"
#include "base/input.h"
#include "base/mainWindowHandle.h"
#include "base/moduleState.h"
#include "base/uiText.h"
#include "presentation/inputBox.h"
#include "presentation/spots.h"
#include "spotFixtures.h"
#include "testing.h"

namespace {
using StepFn = std::function<void(HWND main, HWND edit)>;
std::vector<StepFn> gSteps;
size_t gNextStep = 0;
int gCommandsSeen = 0;  // WM_COMMAND reaching the window's own procedure

HWND editOf(HWND main) { return FindWindowExA(main, nullptr, "EDIT", nullptr); }

void postNextStep(HWND main) {
    if (gNextStep < gSteps.size()) PostMessageA(main, WM_APP, 0, 0);
}

LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        if (gNextStep < gSteps.size()) gSteps[gNextStep++](window, editOf(window));
        postNextStep(window);
        return 0;
    }
    if (message == WM_COMMAND) ++gCommandsSeen;
    if (message == WM_DESTROY && window == gMainWindow) gMainWindow = nullptr;
    // The game window's mouse and command handling.
    if (mouseMessageToCommand(message, wParam, lParam)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

void typeChars(HWND edit, const char* text) {
    for (const char* p = text; *p; ++p) PostMessageA(edit, WM_CHAR, static_cast<uint8_t>(*p), 0);
}
void replaceAll(HWND edit, const char* text) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

// Double-byte characters valid in both GBK and Shift-JIS.
#define DB1 "\x8a\xbf"
#define DB2 "\x8e\x9a"
#define DB3 "\x88\xa4"

class InputBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        installPlatformInput();
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = testWindowProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "MorvaneInputBoxTest";
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            RegisterClassA(&wc);
            registered = true;
        }
        main = CreateWindowExA(0, "MorvaneInputBoxTest", "box", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 700, 500,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, main);
        gMainWindow = main;
        gSteps.clear();
        gNextStep = 0;
        gCommandsSeen = 0;
        std::strcpy(buffer, "old");
    }
    void TearDown() override {
        if (IsWindow(main)) DestroyWindow(main);
        gMainWindow = nullptr;
        // Drain what is left for the window that is gone.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        setInputBackend(nullptr);
        resetEngineState();
    }
    // Runs the box over the steps; every step runs with the box open.
    bool run(std::vector<StepFn> steps, int32_t maxLength = 256) {
        gSteps = std::move(steps);
        gNextStep = 0;
        postNextStep(main);
        const bool ok = inputTextBox(buffer, 10, 20, 300, 24, 20, maxLength, 0x00FFFFFF, 0x006D000A);
        EXPECT_EQ(gSteps.size(), gNextStep) << "the box closed before its last step";
        return ok;
    }
    static StepFn type(const char* text) {
        return [text](HWND, HWND edit) { typeChars(edit, text); };
    }
    static StepFn replace(const char* text) {
        return [text](HWND, HWND edit) { replaceAll(edit, text); };
    }
    static StepFn postToEdit(UINT message, WPARAM wParam) {
        return [message, wParam](HWND, HWND edit) { PostMessageA(edit, message, wParam, 0); };
    }
    // The box is torn down and the window's own procedure is back.
    void expectTornDown() {
        if (!IsWindow(main)) return;
        EXPECT_EQ(nullptr, editOf(main));
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(testWindowProc), GetWindowLongPtrA(main, GWLP_WNDPROC));
        EXPECT_EQ(main, GetFocus());
        EXPECT_EQ(kCmdNone, getCommand());
    }

    HWND main = nullptr;
    char buffer[256];
};
}  // namespace

TEST_F(InputBoxTest, EnterTabAndEscByTheKeyboard) {
    const struct {
        WPARAM key;
        const char* result;
    } cases[] = {{13, "new"}, {9, "new"}, {27, "old"}};
    for (const auto& c : cases) {
        std::strcpy(buffer, "old");
        EXPECT_TRUE(run({[](HWND, HWND edit) { SendMessageA(edit, EM_SETSEL, 0, -1); }, type("new"),
                         postToEdit(WM_CHAR, c.key)}));
        EXPECT_STREQ(c.result, buffer) << c.key;
        expectTornDown();
    }
}

TEST_F(InputBoxTest, TheInitialTextIsInTheField) {
    std::string seen;
    EXPECT_TRUE(run({[&](HWND, HWND edit) {
                         char text[64] = {};
                         GetWindowTextA(edit, text, sizeof text);
                         seen = text;
                         SendMessageA(edit, EM_SETSEL, 3, 3);
                     },
                     type("!"), postToEdit(WM_CHAR, 13)}));
    EXPECT_EQ("old", seen);
    EXPECT_STREQ("old!", buffer);
}

TEST_F(InputBoxTest, AClickBesideTheFieldAccepts) {
    for (UINT button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
        std::strcpy(buffer, "old");
        EXPECT_TRUE(run({replace("clicked"), [button](HWND main, HWND) {
                             PostMessageA(main, button, 0, MAKELPARAM(500, 300));
                         }}));
        EXPECT_STREQ("clicked", buffer) << button;
        expectTornDown();
    }
}

TEST_F(InputBoxTest, LosingTheFocusAccepts) {
    EXPECT_TRUE(run({replace("focus"), [](HWND main, HWND) { SetFocus(main); }}));
    EXPECT_STREQ("focus", buffer);
    expectTornDown();
}

TEST_F(InputBoxTest, QuitLeavesTheBufferAndIsSeenForEver) {
    EXPECT_TRUE(run({replace("typed"), [](HWND, HWND) { PostQuitMessage(0); }}));
    EXPECT_STREQ("old", buffer);
    EXPECT_TRUE(gQuitReceived);
    expectTornDown();
}

TEST_F(InputBoxTest, TheMainWindowDestroyedMeanwhile) {
    EXPECT_TRUE(run({replace("typed"), [](HWND main, HWND) {
                         DestroyWindow(main);
                         PostQuitMessage(0);
                     }}));
    EXPECT_STREQ("old", buffer);
    EXPECT_EQ(nullptr, gMainWindow);
    EXPECT_EQ(kCmdNone, getCommand());
}

TEST_F(InputBoxTest, WithoutAMainWindowNothingOpens) {
    gMainWindow = nullptr;
    EXPECT_TRUE(inputTextBox(buffer, 0, 0, 10, 10, 20, 8, 0, 0));
    EXPECT_STREQ("old", buffer);
    EXPECT_EQ(nullptr, editOf(main));
}

TEST_F(InputBoxTest, MaximumLengthEightKeepsWholeCharactersWithinSevenBytes) {
    const struct {
        StepFn input;
        const char* result;
    } cases[] = {
        {type("abcdefghij"), "abcdefg"},
        {replace(DB1 DB2 DB3 DB1 DB2), DB1 DB2 DB3},
        {replace("a" DB1 DB2 DB3 DB1), "a" DB1 DB2 DB3},
        {replace("ab" DB1 DB2 DB3), "ab" DB1 DB2},
        {replace("abcdef" DB1), "abcdef"},
    };
    for (const auto& c : cases) {
        std::strcpy(buffer, "");
        EXPECT_TRUE(run({c.input, postToEdit(WM_CHAR, 13)}, 8));
        EXPECT_STREQ(c.result, buffer);
        EXPECT_LE(std::strlen(buffer), 7u);
        for (size_t i = 0; buffer[i]; ++i) {
            if (IsDBCSLeadByte(static_cast<BYTE>(buffer[i]))) {
                ASSERT_NE('\0', buffer[++i]);
            }
        }
    }
}

TEST_F(InputBoxTest, TheControlTakesNoMoreThanItsLimit) {
    std::strcpy(buffer, "");
    std::string held;
    EXPECT_TRUE(run({type("abcdefghij"),
                     [&](HWND, HWND edit) {
                         char text[64] = {};
                         GetWindowTextA(edit, text, sizeof text);
                         held = text;
                     },
                     postToEdit(WM_CHAR, 13)},
                    8));
    EXPECT_EQ("abcdefgh", held);
}

TEST_F(InputBoxTest, FontColoursAndControlStyle) {
    LOGFONTA font = {};
    LONG_PTR style = 0;
    COLORREF text = 0, back = 0;
    LRESULT brush = 0;
    LOGBRUSH lb = {};
    int brushBytes = 0;
    EXPECT_TRUE(run({[&](HWND main, HWND edit) {
                         HFONT f = reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0));
                         GetObjectA(f, sizeof font, &font);
                         style = GetWindowLongPtrA(edit, GWL_STYLE);
                         HDC dc = GetDC(edit);
                         brush = SendMessageA(main, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(edit));
                         text = GetTextColor(dc);
                         back = GetBkColor(dc);
                         ReleaseDC(edit, dc);
                         brushBytes = GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
                     },
                     postToEdit(WM_CHAR, 13)}));
    EXPECT_STREQ(uiText(UiText::FaceInputBox), font.lfFaceName);
    EXPECT_EQ(kConfigCharSet, font.lfCharSet);
#ifdef MORVANE_EARLIER
    EXPECT_EQ(128, font.lfCharSet);
#else
    EXPECT_EQ(134, font.lfCharSet);
#endif
    EXPECT_EQ(20, font.lfHeight);
    EXPECT_EQ(400, font.lfWeight);
    EXPECT_EQ(OUT_TT_PRECIS, font.lfOutPrecision);
    EXPECT_EQ(PROOF_QUALITY, font.lfQuality);
    EXPECT_EQ(0, style & (WS_BORDER | ES_AUTOHSCROLL));
    EXPECT_NE(0, style & WS_CHILD);
    EXPECT_EQ(0x00FFFFFFu, text);
    EXPECT_EQ(0x006D000Au, back);
    EXPECT_NE(0, brush);
    EXPECT_EQ(static_cast<int>(sizeof lb), brushBytes);
    EXPECT_EQ(BS_SOLID, lb.lbStyle);
    EXPECT_EQ(0x006D000Au, lb.lbColor);
}

TEST_F(InputBoxTest, CommandsAreSwallowedWhileOpen) {
    uint8_t latched = 99;
    int seen = -1;
    EXPECT_TRUE(run({[](HWND main, HWND) {
                         PostMessageA(main, WM_COMMAND, MAKEWPARAM(kCmdQuickSave, 1), 0);
                         PostMessageA(main, WM_COMMAND, MAKEWPARAM(kCmdExit, 0), 0);
                     },
                     [&](HWND, HWND) {
                         latched = getCommand();
                         seen = gCommandsSeen;
                     },
                     postToEdit(WM_CHAR, 13)}));
    EXPECT_EQ(kCmdNone, latched);
    EXPECT_EQ(0, seen);
    // Afterwards the window's own procedure takes them again.
    const int before = gCommandsSeen;
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(kCmdQuickSave, 1), 0);
    EXPECT_EQ(before + 1, gCommandsSeen);
    EXPECT_EQ(kCmdQuickSave, getCommand());
}

TEST_F(InputBoxTest, TheClickThatClosesTheBoxFiresNoButton) {
    spotTest::install();
    setButtonHandlers(mSpots::PressButtons, mSpots::ReleaseButtons);
    spotTest::images()["delete.png"] = spotTest::strip(100, 40, 1);
    gScreenSpots.Add(1, 1002, "delete.png", 450, 280);
    mSpots::SetButtonMode(kButtonsScreen);
    gMousePos = {500, 300};
    bool pressTaken = false;
    EXPECT_TRUE(run({replace("memo"), [&](HWND main, HWND) {
                         SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(500, 300));
                         pressTaken = gScreenSpots.pressed == 1002;
                     }}));
    EXPECT_TRUE(pressTaken);
    EXPECT_STREQ("memo", buffer);
    // The button comes up over the same button: no command.
    SendMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(500, 300));
    EXPECT_EQ(kCmdNone, getCommand());
    // A click of its own on the button still works.
    SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(500, 300));
    SendMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(500, 300));
    EXPECT_EQ(kCmdOk, getCommand());
    EXPECT_EQ(1002, getSelectedIndex());
    setButtonHandlers(nullptr, nullptr);
    spotTest::uninstall();
}
