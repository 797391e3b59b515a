// The child controls of the configuration dialog and its one font. Every creation operation makes
// a visible child window with the module's handle, sets the dialog font on it and returns it (null
// when it could not be made).
#pragma once
#include <windows.h>

// The dialog font: made on first use, kept until exitUIFont at shutdown.
class cUIFont {
public:
    HFONT Get();
    void Delete();

private:
    HFONT m_font = nullptr;
};

// Makes the dialog font on first use and sends it to the window with WM_SETFONT.
void applyUIFont(HWND window);

HWND createPushButton(HWND parent, int id, const char* text, int x, int y, int width, int height,
                      DWORD extraStyle);
HWND createCheckBox(HWND parent, int id, const char* text, int x, int y, int width, int height);
HWND createRadioButton(HWND parent, const char* text, int x, int y, int width, int height,
                       bool firstOfGroup);
HWND createGroupBox(HWND parent, const char* text, int x, int y, int width, int height,
                    DWORD extraStyle);
HWND createStaticText(HWND parent, const char* text, int x, int y, int width, int height,
                      DWORD extraStyle);
// A slider from 0 to max with the given tick frequency and a thumb 20 pixels long.
HWND createTrackBar(HWND parent, int x, int y, int width, int height, int max, int tickFrequency);

// Control state, null handles tolerated.
bool isChecked(HWND button);
void setChecked(HWND button, bool on);
int trackBarPosition(HWND slider);
void setTrackBarPosition(HWND slider, int position);
