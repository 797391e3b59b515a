// System information read from the configuration: the game's identity, the screen size, the
// splash image and two options.
#pragma once
#include <cstdint>

// Reads sections System.Info, System.Setting and System.Option of the configuration registry
// (missing keys and sections give the defaults). The screen size is taken from the first reading
// only, so everything made at that size keeps fitting it; a size that is not positive or whose
// 32-bit frame would not fit a 32-bit byte count gives 640 by 480.
void loadSystemInfo();

// The system strings ("" when unset). Title, Vendor, Version and Date default to "???".
const char* getTitle();
const char* getVendor();
const char* getVersion();
const char* getDate();
const char* getVolumeID();
const char* getProductID();
const char* getStartup();
const char* getSplashImage();
// EnableMMX, only on a processor with MMX.
bool isMMXEnabled();
// QuitDialog (kept only).
bool getQuitDialogOption();

// Screen size (defined apart, so code that only computes can read it).
extern int gScreenWidth;
extern int gScreenHeight;

// The screen size a configuration asks for, or 640 by 480 when it cannot be used.
void validScreenSize(int64_t width, int64_t height, int& outWidth, int& outHeight);

// Test seam: the next loadSystemInfo takes the screen size again, as the first one does.
void forgetScreenSizeForTest();
