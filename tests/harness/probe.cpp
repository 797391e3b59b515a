// Test tool: a program that misbehaves on request, so the harness can show that it notices.
//   probe ok        opens a window and ends when it is closed
//   probe crash     writes through a null pointer
//   probe hang      never ends
//   probe orphan    starts a copy of itself that keeps running, then ends
#include <windows.h>

#include <cstring>

namespace {
LRESULT CALLBACK probeProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    if (std::strstr(commandLine, "crash")) {
        volatile int* p = nullptr;
        *p = 1;
    }
    if (std::strstr(commandLine, "hang")) {
        for (;;) Sleep(1000);
    }
    if (std::strstr(commandLine, "orphan")) {
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, sizeof path);
        char line[MAX_PATH + 16];
        wsprintfA(line, "\"%s\" hang", path);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi;
        CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        return 0;
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = probeProc;
    wc.hInstance = instance;
    wc.lpszClassName = "Morvane_Probe";
    RegisterClassA(&wc);
    HWND w = CreateWindowA("Morvane_Probe", "probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                           100, nullptr, nullptr, instance, nullptr);
    if (!w) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
