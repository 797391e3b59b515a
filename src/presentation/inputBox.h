// The text-input box: one line typed over the game window in the system's single-line edit
// control, borderless, in the given colours. It blocks (one blocking message pump drives
// everything; the game draws nothing meanwhile) until the line is accepted (Enter, Tab, a click
// on the game window, the focus lost) or cancelled (Esc, quit).
#pragma once
#include <cstdint>

// text holds the initial text and, after an accept, the typed text: whole characters within
// maxLength - 1 bytes and a NUL (the buffer holds maxLength bytes). After a cancel it is unchanged.
// Colours are 0x00BBGGRR. Always true, so callers cannot tell accept from cancel. A click that
// closes the box does nothing else: the button tables forget its press and the latch is cleared.
bool inputTextBox(char* text, int32_t x, int32_t y, int32_t width, int32_t height, int32_t fontHeight,
                  int32_t maxLength, uint32_t textColour, uint32_t backColour);
