#include "media/movie.h"

#include <windows.h>
#include <dshow.h>

#include "base/mainWindowHandle.h"
#include "base/settings.h"
#include "config/systemInfo.h"
#include "media/sound.h"
#include "media/volume.h"

namespace {
// Longest path RenderFile is given, in UTF-16 units with the terminator.
constexpr int kMoviePathUnits = 260;

struct MovieState {
    IGraphBuilder* graph = nullptr;
    IMediaControl* control = nullptr;
    IMediaEvent* events = nullptr;
    IVideoWindow* video = nullptr;
};
MovieState gMovie;

template <typename T>
void release(T*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

bool endsMovie(LONG code) {
    return code == EC_COMPLETE || code == EC_USERABORT || code == EC_ERRORABORT ||
           code == EC_ERRORABORTEX;
}

void setMovieVolume() {
    IBasicAudio* audio = nullptr;
    if (FAILED(gMovie.graph->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&audio))) ||
        !audio)
        return;
    const LONG level =
        UserSettings.soundEnabled[kSettingsBGM]
            ? volumeToDb(static_cast<int32_t>(UserSettings.soundVolume[kSettingsBGM]), 100)
            : kSilentDb;
    audio->put_Volume(level);
    audio->Release();
}
}  // namespace

bool initMovie() {
    shutdownMovie();
    void* object = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                &object)) ||
        !object)
        return false;
    gMovie.graph = static_cast<IGraphBuilder*>(object);
    return true;
}

bool playMovie(const char* path) {
    if (!gMainWindow) return false;
    stopBGM(false);
    stopEnv(false);
    if (!initMovie()) return false;
    IGraphBuilder* graph = gMovie.graph;
    if (FAILED(
            graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&gMovie.control))) ||
        FAILED(graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&gMovie.events))) ||
        FAILED(graph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&gMovie.video))) ||
        !gMovie.control || !gMovie.events || !gMovie.video)
        return false;

    // A path that is not valid in the code page, or too long, is not cut short or guessed at.
    WCHAR wide[kMoviePathUnits];
    if (!path ||
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, wide, kMoviePathUnits) == 0)
        return false;
    if (FAILED(graph->RenderFile(wide, nullptr))) return false;

    setMovieVolume();

    IVideoWindow* video = gMovie.video;
    const OAHWND owner = reinterpret_cast<OAHWND>(gMainWindow);
    if (FAILED(video->put_Owner(owner)) || FAILED(video->put_MessageDrain(owner)) ||
        FAILED(video->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS)) ||
        FAILED(video->SetWindowPosition(0, 0, gScreenWidth, gScreenHeight)))
        return false;
    return SUCCEEDED(gMovie.control->Run());
}

bool isMoviePlaying() {
    if (!gMovie.events) return false;
    LONG code = 0;
    LONG_PTR first = 0, second = 0;
    while (gMovie.events && gMovie.events->GetEvent(&code, &first, &second, 0) == S_OK) {
        gMovie.events->FreeEventParams(code, first, second);
        if (endsMovie(code)) stopMovie();
    }
    return true;
}

void stopMovie() {
    if (gMovie.control) gMovie.control->Stop();
    if (gMovie.video) {
        gMovie.video->put_Visible(OAFALSE);
        // The platform asks for the owner and the message drain back before the release.
        gMovie.video->put_Owner(0);
        gMovie.video->put_MessageDrain(0);
    }
    release(gMovie.control);
    release(gMovie.video);
    release(gMovie.events);
    release(gMovie.graph);
}

void shutdownMovie() { stopMovie(); }

bool isMovieActive() { return gMovie.events != nullptr; }
