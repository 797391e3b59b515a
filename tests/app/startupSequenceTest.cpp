// The start-up and shutdown sequences around COM: a start-up whose COM initialisation fails must
// neither undo the caller's COM nor rewrite the player's read-text log.
#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "../files/winTempFolder.h"
#include "app/startup.h"
#include "files/saveFile.h"
#include "testing.h"

namespace {
const std::vector<unsigned char> kReadLog = {'\\', '1', ' ', '4', '\r', 'x', '\r', 0};

struct Result {
    bool started = false;
    HRESULT afterShutdown = E_FAIL;
};

DWORD WINAPI startAndShutDown(void* p) {
    Result* r = static_cast<Result*>(p);
    r->started = initApplication(GetModuleHandleA(nullptr));
    shutdownApplication();
    r->afterShutdown = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(r->afterShutdown)) CoUninitialize();
    return 0;
}

struct SaveFolder {
    TempFolder folder;
    SaveFolder() {
        setSaveFolder(folder.path().c_str());
        TempFolder::writeFile(folder / "complete.log", kReadLog);
    }
};
}  // namespace

TEST(Startup, FailedComInitialisationLeavesComAndTheReadTextLogAlone) {
    SaveFolder save;
    // COM of another threading model on this thread makes the multithreaded start-up fail.
    ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    EXPECT_FALSE(initApplication(GetModuleHandleA(nullptr)));
    shutdownApplication();
    // Still initialised once: another initialisation answers S_FALSE.
    EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(kReadLog, TempFolder::readFile(save.folder / "complete.log"));
}

TEST(Startup, SuccessfulStartUpIsBalancedByShutdown) {
    SaveFolder save;
    Result result;
    // COM belongs to a thread: run the sequence on a thread of its own.
    HANDLE thread = CreateThread(nullptr, 0, startAndShutDown, &result, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(S_OK, result.afterShutdown);  // S_FALSE would mean COM was left initialised
}
