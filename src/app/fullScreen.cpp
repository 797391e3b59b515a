// Exclusive full screen through DirectDraw: the display modes at the screen size, the switch
// between window and full screen, and the present of the 24-bit frame at the display depth.
#include <windows.h>
#include <ddraw.h>

#include "app/framePixels.h"
#include "app/mainWindow.h"
#include "base/settings.h"
#include "config/systemInfo.h"
#include "media/movie.h"

namespace {
// Display modes found at the screen size.
constexpr uint32_t kMode565 = 1, kMode24 = 2, kMode32 = 4;

struct FullScreenState {
    IDirectDraw* directDraw = nullptr;
    IDirectDrawSurface* primarySurface = nullptr;
    IDirectDrawSurface* frameSurface = nullptr;
    IDirectDrawClipper* screenClipper = nullptr;
    uint32_t displayModeFlags = 0;
    uint32_t fullScreenDepth = 0;
};
FullScreenState gScreen;

template <typename T>
void release(T*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

void releaseSurfaces() {
    release(gScreen.screenClipper);
    release(gScreen.frameSurface);
    release(gScreen.primarySurface);
}

HRESULT WINAPI enumDisplayModeProc(DDSURFACEDESC* mode, void*) {
    if (!mode) return DDENUMRET_OK;
    if (static_cast<int64_t>(mode->dwWidth) != gScreenWidth ||
        static_cast<int64_t>(mode->dwHeight) != gScreenHeight)
        return DDENUMRET_OK;
    const DDPIXELFORMAT& pf = mode->ddpfPixelFormat;
    if (pf.dwRGBBitCount == 16 && pf.dwRBitMask == 0xF800 && pf.dwGBitMask == 0x07E0 &&
        pf.dwBBitMask == 0x001F)
        gScreen.displayModeFlags |= kMode565;
    const bool rgb888 =
        pf.dwRBitMask == 0xFF0000 && pf.dwGBitMask == 0x00FF00 && pf.dwBBitMask == 0x0000FF;
    if (pf.dwRGBBitCount == 24 && rgb888) gScreen.displayModeFlags |= kMode24;
    if (pf.dwRGBBitCount == 32 && rgb888) gScreen.displayModeFlags |= kMode32;
    return DDENUMRET_OK;
}

void restoreIfLost(IDirectDrawSurface* surface) {
    if (surface && surface->IsLost() == DDERR_SURFACELOST) surface->Restore();
}

// Window-mode style, place and size, as created.
void restoreWindowMode(HWND window) {
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WS_VISIBLE | kMainWindowStyle));
    SetWindowLongA(window, GWL_EXSTYLE, 0);
    SetWindowPos(window, nullptr, gWindowRect.x, gWindowRect.y, gWindowRect.width,
                 gWindowRect.height, SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOCOPYBITS);
}
}  // namespace

bool isDirectDrawAvailable() { return gScreen.directDraw != nullptr; }

void releaseDirectDraw() {
    releaseSurfaces();
    release(gScreen.directDraw);
}

bool initDirectDraw() {
    releaseDirectDraw();
    gScreen.displayModeFlags = 0;
    gScreen.fullScreenDepth = 0;
    void* object = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DirectDraw, nullptr, CLSCTX_ALL, IID_IDirectDraw, &object)) ||
        !object)
        return false;
    gScreen.directDraw = static_cast<IDirectDraw*>(object);
    // Full screen stays unavailable (no object) whenever no usable mode is known.
    if (FAILED(gScreen.directDraw->Initialize(nullptr)) ||
        FAILED(gScreen.directDraw->EnumDisplayModes(0, nullptr, nullptr, enumDisplayModeProc))) {
        releaseDirectDraw();
        return false;
    }
    if (gScreen.displayModeFlags & kMode24) gScreen.fullScreenDepth = 24;
    else if (gScreen.displayModeFlags & kMode32) gScreen.fullScreenDepth = 32;
    else if (gScreen.displayModeFlags & kMode565) gScreen.fullScreenDepth = 16;
    else {
        releaseDirectDraw();
        return false;
    }
    return true;
}

bool enterFullScreen(HWND window) {
    if (!gScreen.directDraw || !window) return false;
    leaveFullScreen(window);

    bool exclusive = false, modeSet = false;
    bool ok = SUCCEEDED(gScreen.directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN));
    exclusive = ok;
    if (ok) {
        ok = SUCCEEDED(gScreen.directDraw->SetDisplayMode(gScreenWidth, gScreenHeight, gScreen.fullScreenDepth));
        modeSet = ok;
    }
    // Whatever this reports, the surfaces below decide whether full screen works.
    if (ok) gScreen.directDraw->FlipToGDISurface();
    if (ok) {
        DDSURFACEDESC desc = {};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        ok = SUCCEEDED(gScreen.directDraw->CreateSurface(&desc, &gScreen.primarySurface, nullptr)) &&
             gScreen.primarySurface;
    }
    if (ok) {
        DDSURFACEDESC desc = {};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        desc.dwWidth = static_cast<DWORD>(gScreenWidth);
        desc.dwHeight = static_cast<DWORD>(gScreenHeight);
        ok = SUCCEEDED(gScreen.directDraw->CreateSurface(&desc, &gScreen.frameSurface, nullptr)) && gScreen.frameSurface;
    }
    if (ok)
        ok = SUCCEEDED(gScreen.directDraw->CreateClipper(0, &gScreen.screenClipper, nullptr)) && gScreen.screenClipper &&
             SUCCEEDED(gScreen.screenClipper->SetHWnd(0, window)) &&
             SUCCEEDED(gScreen.primarySurface->SetClipper(gScreen.screenClipper));
    if (ok) return true;

    // Undo everything this changed, so the window goes on as before.
    releaseSurfaces();
    if (modeSet) gScreen.directDraw->RestoreDisplayMode();
    if (exclusive) gScreen.directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
    return false;
}

void leaveFullScreen(HWND window) {
    if (!gScreen.directDraw || !gScreen.primarySurface) return;
    releaseSurfaces();
    gScreen.directDraw->RestoreDisplayMode();
    gScreen.directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
}

bool setFullScreen(bool on) {
    if (on == (gIsFullScreen != 0) || !gMainWindow || !gScreen.directDraw || isMovieActive()) return false;
    HWND window = gMainWindow;
    bool switched = true;
    if (on) {
        SetWindowLongA(window, GWL_STYLE,
                       static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
        SetWindowLongA(window, GWL_EXSTYLE, WS_EX_TOPMOST);
        SetWindowPos(window, nullptr, 0, 0, gDesktopSize.width, gDesktopSize.height,
                     SWP_NOZORDER | SWP_FRAMECHANGED);
        if (enterFullScreen(window)) {
            gIsFullScreen = 1;
        } else {
            restoreWindowMode(window);
            switched = false;
        }
    } else {
        gIsFullScreen = 0;
        leaveFullScreen(window);
        restoreWindowMode(window);
    }
    UserSettings.fullScreen = gIsFullScreen;
    InvalidateRect(window, nullptr, FALSE);
    return switched;
}

bool toggleFullScreen() { return setFullScreen(!gIsFullScreen); }

bool presentFullScreenFrame(const uint8_t* pixels) {
    if (!pixels || !gScreen.primarySurface || !gScreen.frameSurface) return false;
    restoreIfLost(gScreen.primarySurface);
    restoreIfLost(gScreen.frameSurface);

    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    if (FAILED(gScreen.frameSurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) return false;
    if (!desc.lpSurface || desc.lPitch <= 0) {
        gScreen.frameSurface->Unlock(nullptr);
        return false;
    }
    // The surface is never smaller than the screen size it was made at, but trust only its own.
    int32_t w = gScreenWidth, h = gScreenHeight;
    if ((desc.dwFlags & DDSD_WIDTH) && static_cast<int64_t>(desc.dwWidth) < w) w = desc.dwWidth;
    if ((desc.dwFlags & DDSD_HEIGHT) && static_cast<int64_t>(desc.dwHeight) < h) h = desc.dwHeight;
    convertFrameRows(pixels, w, h, static_cast<uint8_t*>(desc.lpSurface), desc.lPitch,
                     desc.ddpfPixelFormat.dwRGBBitCount);
    if (FAILED(gScreen.frameSurface->Unlock(nullptr))) return false;

    restoreIfLost(gScreen.primarySurface);
    restoreIfLost(gScreen.frameSurface);
    return SUCCEEDED(gScreen.primarySurface->Blt(nullptr, gScreen.frameSurface, nullptr, DDBLT_WAIT, nullptr));
}

uint64_t getVideoMemory() {
    if (!gScreen.directDraw) return 0;
    DDCAPS caps = {};
    caps.dwSize = sizeof caps;
    if (FAILED(gScreen.directDraw->GetCaps(&caps, nullptr))) return 0;
    uint64_t total = caps.dwVidMemTotal;
    if (HDC ic = CreateICA("DISPLAY", nullptr, nullptr, nullptr)) {
        auto cap = [ic](int index) -> uint64_t {
            int v = GetDeviceCaps(ic, index);
            return v > 0 ? static_cast<uint64_t>(v) : 0;
        };
        total += cap(HORZRES) * cap(VERTRES) * (cap(BITSPIXEL) / 8) * cap(PLANES);
        DeleteDC(ic);
    }
    return total;
}
