// The three pages of the configuration dialog, as the dialog frame builds, stores and updates them.
#pragma once
#include <windows.h>

#include <cstdint>

// Basic page: text, sound, display, skip and boss-key groups.
bool buildBasicPage(HWND page);
void basicPageFromSettings();
void basicPageToSettings();
void enableByDevice();
// Handles of the basic page's controls forgotten (its windows are gone).
void forgetBasicPage();

// Input page: the action lists of the mouse, Space, function keys and pad buttons.
bool buildInputPage(HWND page);
void inputPageToSettings();
// Follows the gamepad's button count: enables its rows and sets the version page's gamepad line.
// Without force nothing happens while the count is the one seen last.
void enablePadCombos(bool force);
void forgetInputPage();

// Version page: product, system and PC facts, and the button that copies the report.
bool buildVersionPage(HWND page);
// Sets the version page's gamepad line; nothing while the page does not exist.
void padInfoText(int64_t buttonCount);
void forgetVersionPage();

