#include "presentation/screens/configControls.h"

#include "presentation/screens/configDialog.h"

#include <windows.h>
#include <commctrl.h>

#include "base/configuration.h"
#include "base/moduleState.h"
#include "base/uiText.h"

namespace {
cUIFont gUIFont;
const cModuleReset kReset(0, [] { gUIFont.Delete(); });

HWND createChild(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y,
                 int width, int height) {
    HWND w = CreateWindowExA(0, cls, text ? text : "", WS_CHILD | WS_VISIBLE | style, x, y, width,
                             height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleA(nullptr), nullptr);
    if (w) applyUIFont(w);
    return w;
}
}  // namespace

HFONT cUIFont::Get() {
    if (!m_font) {
        LOGFONTA f = {};
        f.lfHeight = -12;
        f.lfCharSet = kConfigCharSet;
        lstrcpynA(f.lfFaceName, uiText(UiText::FaceDialog), LF_FACESIZE);
        m_font = CreateFontIndirectA(&f);
    }
    return m_font;
}

void cUIFont::Delete() {
    if (m_font) DeleteObject(m_font);
    m_font = nullptr;
}

void applyUIFont(HWND window) {
    HFONT font = gUIFont.Get();
    if (window && font) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void exitUIFont() { gUIFont.Delete(); }

HWND createPushButton(HWND parent, int id, const char* text, int x, int y, int width, int height,
                      DWORD extraStyle) {
    return createChild(parent, "BUTTON", text, WS_TABSTOP | extraStyle, id, x, y, width, height);
}

HWND createCheckBox(HWND parent, int id, const char* text, int x, int y, int width, int height) {
    return createChild(parent, "BUTTON", text, BS_AUTOCHECKBOX | WS_TABSTOP, id, x, y, width,
                       height);
}

HWND createRadioButton(HWND parent, const char* text, int x, int y, int width, int height,
                       bool firstOfGroup) {
    return createChild(parent, "BUTTON", text,
                       BS_AUTORADIOBUTTON | WS_TABSTOP | (firstOfGroup ? WS_GROUP : 0), -1, x, y,
                       width, height);
}

HWND createGroupBox(HWND parent, const char* text, int x, int y, int width, int height,
                    DWORD extraStyle) {
    return createChild(parent, "BUTTON", text, BS_GROUPBOX | extraStyle, -1, x, y, width, height);
}

HWND createStaticText(HWND parent, const char* text, int x, int y, int width, int height,
                      DWORD extraStyle) {
    // A left-aligned text is not wrapped but clipped at its right edge: the configuration's texts
    // are padded to a common length and may be wider than their one-line labels, whose wrapped
    // remainder would fall below them, taking characters that fit with it.
    DWORD style = SS_NOPREFIX | extraStyle;
    if ((extraStyle & SS_TYPEMASK) == SS_LEFT) style |= SS_LEFTNOWORDWRAP;
    return createChild(parent, "STATIC", text, style, -1, x, y, width, height);
}

HWND createTrackBar(HWND parent, int x, int y, int width, int height, int max, int tickFrequency) {
    HWND w = createChild(parent, TRACKBAR_CLASSA, "",
                         WS_TABSTOP | TBS_BOTH | TBS_NOTICKS | TBS_FIXEDLENGTH, -1, x, y, width,
                         height);
    if (!w) return w;
    SendMessageA(w, TBM_SETRANGE, TRUE, MAKELPARAM(0, max));
    SendMessageA(w, TBM_SETTICFREQ, tickFrequency, 0);
    SendMessageA(w, TBM_SETTHUMBLENGTH, 20, 0);
    return w;
}

bool isChecked(HWND button) {
    return button && SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void setChecked(HWND button, bool on) {
    if (button) SendMessageA(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

int trackBarPosition(HWND slider) {
    return slider ? static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0)) : 0;
}

void setTrackBarPosition(HWND slider, int position) {
    if (slider) SendMessageA(slider, TBM_SETPOS, TRUE, position);
}
