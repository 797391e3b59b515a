#include "presentation/inputBox.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstring>
#include <vector>

#include "base/configuration.h"
#include "base/input.h"
#include "base/mainWindowHandle.h"
#include "base/moduleState.h"
#include "base/uiText.h"
#include "graphics/text/leadByte.h"
#include "presentation/spots.h"

namespace {
enum BoxResult : uint8_t { kRunning = 0, kAccept = 1, kCancel = 2 };

// What exists while the box runs.
struct InputBoxState {
    COLORREF textColour = 0;
    COLORREF backColour = 0;
    HBRUSH brush = nullptr;
    WNDPROC mainProc = nullptr;
    WNDPROC editProc = nullptr;
    uint8_t result = kRunning;  // gInputBoxResult
};
InputBoxState gInputBox;
const cModuleReset kReset(0, [] { gInputBox = InputBoxState(); });

// The box's font, deleted with it.
struct BoxFont {
    explicit BoxFont(HFONT handle) : font(handle) {}
    ~BoxFont() {
        if (font) DeleteObject(font);
    }
    BoxFont(const BoxFont&) = delete;
    BoxFont& operator=(const BoxFont&) = delete;
    HFONT font;
    uint8_t flags = 0;
};

HFONT createBoxFont(int32_t height) {
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = height;
    font.lfWeight = 400;
    font.lfCharSet = kConfigCharSet;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    lstrcpynA(font.lfFaceName, uiText(UiText::FaceInputBox), LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

LRESULT CALLBACK inputBoxMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // No menu or accelerator command acts while the box is open.
            return 0;
        case WM_CTLCOLOREDIT: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, gInputBox.textColour);
            SetBkColor(dc, gInputBox.backColour);
            return reinterpret_cast<LRESULT>(gInputBox.brush);
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            gInputBox.result = kAccept;
            break;
        default:
            break;
    }
    return CallWindowProcA(gInputBox.mainProc, window, message, wParam, lParam);
}

LRESULT CALLBACK inputBoxEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KILLFOCUS) {
        gInputBox.result = kAccept;
    } else if (message == WM_CHAR) {
        if (wParam == 9 || wParam == 13) gInputBox.result = kAccept;
        else if (wParam == 27) gInputBox.result = kCancel;
    }
    return CallWindowProcA(gInputBox.editProc, window, message, wParam, lParam);
}

// The control's text into the buffer: the whole characters that fit in maxLength - 1 bytes (the
// control may count its limit in characters, and a cut between the two bytes of a character
// would leave a lone lead byte).
void takeText(HWND edit, char* text, int32_t maxLength) {
    if (maxLength < 1) return;
    const int length = GetWindowTextLengthA(edit);
    std::vector<char> all(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int got = GetWindowTextA(edit, all.data(), static_cast<int>(all.size()));
    const size_t size = got > 0 ? std::strlen(all.data()) : 0;
    const size_t room = static_cast<size_t>(maxLength) - 1;
    size_t kept = 0;
    while (kept < size) {
        const size_t step = isLeadByte(static_cast<uint8_t>(all[kept])) ? 2 : 1;
        if (kept + step > size || kept + step > room) break;
        kept += step;
    }
    std::memcpy(text, all.data(), kept);
    text[kept] = '\0';
}
}  // namespace

bool inputTextBox(char* text, int32_t x, int32_t y, int32_t width, int32_t height, int32_t fontHeight,
                  int32_t maxLength, uint32_t textColour, uint32_t backColour) {
    HWND main = gMainWindow;
    BoxFont font(createBoxFont(fontHeight));
    gInputBox.textColour = textColour;
    gInputBox.backColour = backColour;
    gInputBox.brush = CreateSolidBrush(backColour);

    // No border and no automatic horizontal scrolling: typing stops when the line is full.
    HWND edit = main ? CreateWindowExA(0, "EDIT", text ? text : "", WS_CHILD | WS_VISIBLE, x, y, width,
                                       height, main, nullptr, GetModuleHandleA(nullptr), nullptr)
                     : nullptr;
    uint8_t result = kCancel;
    if (edit) {
        gInputBox.mainProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(inputBoxMainProc)));
        gInputBox.editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(inputBoxEditProc)));
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font.font), FALSE);
        SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(maxLength > 0 ? maxLength : 0), 0);
        SetFocus(edit);

        gInputBox.result = kRunning;
        while (pumpMessageBlocking() && gInputBox.result == kRunning) {
        }
        // A quit leaves the result at 0: torn down as after a cancel.
        result = gInputBox.result;

        // The main window may have gone meanwhile, and its child with it.
        const bool mainAlive = IsWindow(main) != FALSE;
        const bool editAlive = IsWindow(edit) != FALSE;
        if (mainAlive)
            SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gInputBox.mainProc));
        if (result == kAccept && editAlive && text) takeText(edit, text, maxLength);
        if (editAlive) {
            SendMessageA(edit, WM_SETFONT, 0, FALSE);
            DestroyWindow(edit);
        }
        if (mainAlive) SetFocus(main);
    }
    if (gInputBox.brush) DeleteObject(gInputBox.brush);
    gInputBox.brush = nullptr;
    gInputBox.mainProc = nullptr;
    gInputBox.editProc = nullptr;
    // Nothing typed or clicked meanwhile acts afterwards: no latched command, and no button fires
    // on the release of the click that closed the box.
    clearCommand();
    mSpots::CancelPresses();
    return true;
}
