// Test program: the real main window, sound channels and movie playback without the rest of the
// game, driven by a list of actions.
//   mediaProbe <action file>
// The data folder is "data" beside the program. The back buffer shows a solid colour; the program
// reports on stdout, each line flushed:
//   ready sound <0|1>
//   do <action line> at <seconds since 1970, of the moment the action begins>
//   result <value>                     (what the action's call returned)
//   movie end <complete|cancel|quit>
//   counts threads <n> handles <n> next <value of a new handle>
//   cpu <streaming thread's milliseconds of processor time per second of music>
//   quit
// Actions, one a line (CR LF or LF):
//   wait <ms>                 pump messages and present for that long
//   bgm <name> [noloop] | fade | stopbgm | env <name> | stopenv | se <name> | voice <name>
//   volume <se|voice|env|bgm> <on 0|1> <0..100>   the settings field and the channel's setter
//   movie <path>              the script command's loop: stop the music and the ambient loop,
//                             black screen, play; then poll every second until the end, a cancel
//                             (right button, Esc) or the quit
//   colour <r> <g> <b>        fill the back buffer and present it
//   cycles <n> <name>         n times: play the music, 100 ms, stop it
//   counts                    threads and handles of this process
//   cpu begin | cpu end       the streaming thread's processor time between the two
//   close                     close the window (ends the program)
#include <windows.h>
#include <objbase.h>
#include <tlhelp32.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/inputPlatform.h"
#include "app/mainWindow.h"
#include "base/input.h"
#include "base/settings.h"
#include "config/systemInfo.h"
#include "files/archiveIndex.h"
#include "graphics/screen.h"
#include "media/movie.h"
#include "media/sound.h"
#include "media/soundDevice.h"


namespace {

bool gQuit = false;
uint8_t gColour[3] = {160, 96, 0};  // blue, green, red
HANDLE gCpuThread = nullptr;
uint64_t gCpuStart = 0;
DWORD gCpuWallStart = 0;

void say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

double unixSeconds() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    const uint64_t t = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (static_cast<double>(t) - 116444736000000000.0) / 1e7;
}

void fillColour() {
    if (!gBackBuffer.HasPixels()) return;
    const size_t pixels = static_cast<size_t>(gBackBuffer.width) * gBackBuffer.height;
    for (size_t i = 0; i < pixels; ++i) std::memcpy(gBackBuffer.pixels + i * 3, gColour, 3);
}

void pumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    DWORD lastPresent = 0;
    while (!gQuit && GetTickCount() - start < ms) {
        if (!pollInput(0, true)) {
            gQuit = true;
            return;
        }
        clearCommand();
        if (GetTickCount() - lastPresent > 100) {
            presentScreen();
            lastPresent = GetTickCount();
        }
    }
}

// The script command "movie" with what this program has of it.
void runMovie(const char* path) {
    stopBGM(false);
    stopEnv(false);
    stopSE();
    for (cCanvas* c : {&gBackBuffer, &gNextScreen, &gPrevScreen})
        if (c->HasPixels()) std::memset(c->pixels, 0, static_cast<size_t>(c->ByteCount()));
    if (!playMovie(path)) {
        stopMovie();
        say("result 0");
        return;
    }
    say("result 1");
    clearCommand();
    const char* reason = "complete";
    for (;;) {
        if (!isMoviePlaying()) break;
        if (!pollInput(2, false)) {
            reason = "quit";
            gQuit = true;
            break;
        }
        if (getCommand() == kCmdCancel) {
            reason = "cancel";
            break;
        }
        Sleep(1000);
    }
    stopMovie();
    clearCommand();
    say("movie end %s", reason);
}

void counts() {
    int threads = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot != INVALID_HANDLE_VALUE) {
        THREADENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL ok = Thread32First(snapshot, &entry); ok; ok = Thread32Next(snapshot, &entry))
            if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++threads;
        CloseHandle(snapshot);
    }
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    // The platform hands out the lowest free handle value (and may not count handles): a handle
    // left open moves the next one up.
    HANDLE next = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    say("counts threads %d handles %lu next %llu", threads, static_cast<unsigned long>(handles),
        static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(next)));
    if (next) CloseHandle(next);
}

uint64_t threadTime(HANDLE thread) {
    FILETIME created, ended, kernel, user;
    if (!thread || !GetThreadTimes(thread, &created, &ended, &kernel, &user)) return 0;
    auto value = [](const FILETIME& f) {
        return (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    return value(kernel) + value(user);  // 100 ns units
}

void setVolume(const char* channel, int on, int volume) {
    struct Row {
        const char* name;
        SettingsChannel field;
        void (*set)(uint8_t, int32_t);
    };
    const Row rows[] = {{"se", kSettingsSE, setSEVolume},
                        {"voice", kSettingsVoice, setVoiceVolume},
                        {"env", kSettingsEnv, setEnvVolume},
                        {"bgm", kSettingsBGM, setBGMVolume}};
    for (const Row& r : rows) {
        if (std::strcmp(r.name, channel) != 0) continue;
        UserSettings.soundEnabled[r.field] = static_cast<uint8_t>(on);
        UserSettings.soundVolume[r.field] = static_cast<uint32_t>(volume);
        r.set(static_cast<uint8_t>(on), volume);
    }
}

void run(const std::string& line) {
    char word[64] = "", a[1024] = "", b[64] = "", c[64] = "";
    std::sscanf(line.c_str(), "%63s %1023s %63s %63s", word, a, b, c);
    const std::string w = word;
    if (w.empty()) return;
    say("do %s at %.3f", line.c_str(), unixSeconds());
    if (w == "wait") pumpFor(static_cast<DWORD>(std::atoi(a)));
    else if (w == "bgm") say("result %d", playBGM(a, std::strcmp(b, "noloop") != 0) ? 1 : 0);
    else if (w == "fade") fadeOutBGM();
    else if (w == "stopbgm") stopBGM(false);
    else if (w == "env") say("result %d", playEnv(a) ? 1 : 0);
    else if (w == "stopenv") stopEnv(false);
    else if (w == "se") say("result %d", playSE(a) ? 1 : 0);
    else if (w == "voice") {
        const bool played = playVoice(a);
        say("result %d playing %d", played ? 1 : 0, isVoicePlaying() ? 1 : 0);
    } else if (w == "volume") setVolume(a, std::atoi(b), std::atoi(c));
    else if (w == "movie") runMovie(a);
    else if (w == "colour") {
        gColour[2] = static_cast<uint8_t>(std::atoi(a));
        gColour[1] = static_cast<uint8_t>(std::atoi(b));
        gColour[0] = static_cast<uint8_t>(std::atoi(c));
        fillColour();
        presentScreen();
    } else if (w == "cycles") {
        for (int i = 0, n = std::atoi(a); i < n && !gQuit; ++i) {
            playBGM(b, true);
            pumpFor(100);
            stopBGM(false);
        }
    } else if (w == "counts") counts();
    else if (w == "cpu" && std::strcmp(a, "begin") == 0) {
        gCpuThread = static_cast<HANDLE>(bgmStreamThreadHandle());
        gCpuStart = threadTime(gCpuThread);
        gCpuWallStart = GetTickCount();
    } else if (w == "cpu") {
        const double busyMs = static_cast<double>(threadTime(gCpuThread) - gCpuStart) / 1e4;
        const double seconds = (GetTickCount() - gCpuWallStart) / 1000.0;
        say("cpu %.3f over %.1f s", seconds > 0 ? busyMs / seconds : 0.0, seconds);
    } else if (w == "close") PostMessageA(gMainWindow, WM_CLOSE, 0, 0);
}

std::vector<std::string> readActions(const char* path) {
    std::vector<std::string> lines;
    FILE* f = std::fopen(path, "rb");
    if (!f) return lines;
    char buffer[2048];
    while (std::fgets(buffer, sizeof buffer, f)) {
        std::string line = buffer;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        lines.push_back(line);
    }
    std::fclose(f);
    return lines;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    char path[260] = "actions.txt";
    std::sscanf(commandLine, "%259s", path);
    const std::vector<std::string> actions = readActions(path);
    gScreenWidth = 640;
    gScreenHeight = 480;
    setDefaultSettings();
    // A confirmed close, not the quit box.
    gSkipQuitConfirm = 1;
    initDataArchives();
    if (!createMainWindow(instance)) return 1;
    createScreenCanvases();
    fillColour();
    showMainWindow();
    createAccelerators();
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    initSound();
    say("ready sound %d", isSoundAvailable() ? 1 : 0);

    for (const std::string& line : actions) {
        if (gQuit) break;
        run(line);
        if (!isMovieActive()) {
            fillColour();
            presentScreen();
        }
    }
    // Until the window is closed.
    while (!gQuit) pumpFor(100);
    shutdownMovie();
    destroyAccelerators();
    shutdownSound();
    CoUninitialize();
    say("quit");
    return 0;
}
