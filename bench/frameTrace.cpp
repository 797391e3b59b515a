// Frame trace: one frame of a typical demo scene composed and presented by the real program's
// modules under Wine, step by step, and the time per frame over many frames.
//   frameTrace [frames]
// Run in a game folder holding the demo's data folder (make frame-trace lays one out). The scene
// is the prologue's at Yukino's second line: the shore (a back definition with a Screen and a
// Multi layer), Yukino and Wataru in slots 3 and 4, the message box with the speaker's name and a
// page of the line typed out. Each frame does what a changed scene costs the waiting loop of a
// message: the slots composed, the composition copied to the back buffer, the message window and
// its prompt drawn over it, the back buffer presented in the window. An idle frame (nothing
// changed) skips the composition. Output on stdout:
//   trace of one composed frame: each step with its start and length in microseconds
//   per frame over N frames: the median and the fastest of each step and of the whole frame
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/mainWindow.h"
#include "app/startup.h"
#include "base/input.h"
#include "base/present.h"
#include "config/registry.h"
#include "config/systemInfo.h"
#include "files/archiveIndex.h"
#include "files/textBuf.h"
#include "presentation/msgBox.h"
#include "scenario/anime/composition.h"
#include "scenario/anime/pictureSlots.h"
#include "scenario/commandTable.h"
#include "scenario/scriptState.h"

namespace {

double gTicksPerUs = 0;

double nowUs() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / gTicksPerUs;
}

enum Step { kCompose, kCopy, kBox, kPresent, kSteps };
const char* const kStepNames[kSteps] = {
    "compose the slots (composeAllAnime)",
    "copy to the back buffer (updateScreen)",
    "message window and prompt (cMsgBox::Draw)",
    "present in the window (presentScreen)",
};

struct Frame {
    double start[kSteps];
    double length[kSteps];
    double total;
};

// One frame of the message wait; composed when the scene changed.
Frame frame(bool composed) {
    Frame f{};
    const double t0 = nowUs();
    double t = t0;
    auto step = [&](Step s, auto&& work) {
        f.start[s] = t - t0;
        work();
        const double end = nowUs();
        f.length[s] = end - t;
        t = end;
    };
    step(kCompose, [composed] {
        if (composed) composeAllAnime();
    });
    step(kCopy, [] { updateScreen(); });
    step(kBox, [] { gMsgBox.Draw(true); });
    step(kPresent, [] { presentScreen(); });
    f.total = t - t0;
    pumpMessages();
    return f;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void report(const char* title, const std::vector<Frame>& frames, bool composed) {
    std::printf("%s, %zu frames (median / fastest, microseconds):\n", title, frames.size());
    for (int s = composed ? 0 : 1; s < kSteps; ++s) {
        std::vector<double> v;
        for (const Frame& f : frames) v.push_back(f.length[s]);
        std::printf("  %-44s %8.0f %8.0f\n", kStepNames[s], median(v), *std::min_element(v.begin(), v.end()));
    }
    std::vector<double> total;
    for (const Frame& f : frames) total.push_back(f.total);
    const double m = median(total);
    std::printf("  %-44s %8.0f %8.0f   (%.1f ms, %.0f frames a second)\n", "the whole frame", m,
                *std::min_element(total.begin(), total.end()), m / 1000.0, m > 0 ? 1e6 / m : 0.0);
}

// The line of the demo shown in the trace: prologue.txt line 26, "name:text".
bool showLine() {
    cTextBuf script;
    if (!script.Load("script", "prologue.txt")) return false;
    const char* line = script.Line(25);
    const char* colon = line ? std::strchr(line, ':') : nullptr;
    if (!colon) return false;
    std::string name(line, colon);
    gMsgBox.SetText(colon + 1);
    gMsgBox.SetSpeaker(name.c_str(), false);
    while (gMsgBox.DrawUpTo(-1)) {
    }
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const int frames = std::max(10, std::atoi(commandLine) > 0 ? std::atoi(commandLine) : 300);
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    gTicksPerUs = static_cast<double>(f.QuadPart) / 1e6;

    beginPlayTime();
    initDataArchives();
    mSystemParam::loadConfig();
    loadSystemInfo();
    if (!createMainWindow(instance) || !initApplication(instance)) {
        std::printf("no window\n");
        return 1;
    }
    // The scene of the prologue at Yukino's second line, without a cross-fade.
    const bool scene = executeCommand("fade", "0") && executeCommand("img", "0 dusk.img#1") &&
                       executeCommand("img", "3 yukino.img#2 left") &&
                       executeCommand("img", "4 wataru.img#1 right");
    if (!scene || !showLine()) {
        std::printf("the demo's scene or line is missing (run in a game folder of the demo)\n");
        shutdownApplication();
        return 1;
    }
    // Warm up: pictures loaded, the window shown.
    for (int i = 0; i < 20; ++i) frame(true);

    std::vector<Frame> composed, idle;
    for (int i = 0; i < frames; ++i) {
        markAnimeDirty();
        composed.push_back(frame(true));
    }
    for (int i = 0; i < frames; ++i) idle.push_back(frame(false));

    std::printf("scene: %dx%d, dusk.img#1 (bg_shore.png, a Screen and a Multi layer), yukino.img#2 "
                "left, wataru.img#1 right, the message box with a page of prologue.txt line 26\n",
                gScreenWidth, gScreenHeight);
    const Frame& one = composed[composed.size() / 2];
    std::printf("trace of one composed frame (start, length, microseconds):\n");
    for (int s = 0; s < kSteps; ++s)
        std::printf("  %8.0f %8.0f  %s\n", one.start[s], one.length[s], kStepNames[s]);
    std::printf("  %8.0f           end of the frame\n", one.total);
    report("a composed frame", composed, true);
    report("an idle frame (nothing changed)", idle, false);
    std::fflush(stdout);
    shutdownApplication();
    return 0;
}
