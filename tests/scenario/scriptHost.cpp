#include "scriptHost.h"

#include "base/input.h"
#include "base/moduleState.h"
#include "base/debugMessage.h"
#include "files/archiveIndex.h"
#include "files/saveFile.h"
#include "presentation/msgDisplay.h"
#include "scenario/script.h"
#include "scenario/scriptPresenter.h"
#include "scenario/scriptState.h"

#include <windows.h>

ScriptHost* ScriptHost::current = nullptr;

namespace {

void removeTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path + "\\");
                RemoveDirectoryA(path.c_str());
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
}

void makeFolders(const std::string& path) {
    for (size_t i = 3; i < path.size(); ++i)
        if (path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}

bool hostShow(const char* text, bool read) {
    ScriptHost* host = ScriptHost::current;
    if (!host) return true;
    int levels = 0;
    cScript* deepest = &rootScript();
    for (cScript* level = &rootScript(); level; level = level->Child()) {
        if (!*level->Name()) break;
        ++levels;
        deepest = level;
    }
    host->shown.push_back({text, read, levels, deepest->SavePoint(), MsgWindowMode});
    if (host->onShow) host->onShow(host->shown.size() - 1, text);
    return true;
}

bool hostBegin(const char* rest) {
    if (ScriptHost::current) ScriptHost::current->choiceBegins.push_back(rest ? rest : "(null)");
    return true;
}
bool hostAdd(int32_t number, const char* line) {
    if (ScriptHost::current) ScriptHost::current->options.emplace_back(number, line);
    return true;
}
int32_t hostRun() {
    ScriptHost* host = ScriptHost::current;
    if (!host || host->answers.empty()) return 0;
    int32_t answer = host->answers.front();
    host->answers.pop_front();
    return answer;
}
// The message window's display-mode switch and pages are the real ones; what is shown and chosen
// is recorded.
const ScriptPresenter kPresenter = {
    hostShow, setMsgWindowMode, redrawMsgWindow, nullptr, hostBegin, hostAdd, hostRun,
};

bool hostPoll(uint8_t, bool) {
    ScriptHost* host = ScriptHost::current;
    if (!host) return true;
    ++host->polls;
    return !(host->quitAtPoll && host->polls >= host->quitAtPoll);
}
bool hostPump() {
    ScriptHost* host = ScriptHost::current;
    if (!host) return true;
    ++host->pumps;
    return !(host->quitAtPump && host->pumps >= host->quitAtPump);
}
const InputBackend kBackend = {hostPoll, hostPump, hostPump, nullptr, nullptr};

void hostDiagnostic(const char* text) {
    if (ScriptHost::current) ScriptHost::current->diagnostics.push_back(text);
}

std::string workingFolder() {
    char buffer[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
    std::string folder(buffer, n);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace

ScriptHost::ScriptHost(const char* name) {
    std::string base = workingFolder() + "host-" + name + "\\";
    dataFolder = base + "data\\";
    saveFolder = base + "save\\";
    removeTree(base);
    makeFolders(dataFolder + "script\\");
    makeFolders(saveFolder);
    setDataFolder(dataFolder.c_str());
    setSaveFolder(saveFolder.c_str());
    gArchiveIndex.clear();

    current = this;
    setScriptPresenter(&kPresenter);
    setInputBackend(&kBackend);
    setDebugSink(hostDiagnostic);
    resetEngineState();
}

ScriptHost::~ScriptHost() {
    resetEngineState();
    setScriptPresenter(nullptr);
    setInputBackend(nullptr);
    setDebugSink(nullptr);
    current = nullptr;
}

void ScriptHost::writeDataFile(const char* relativePath, const std::string& bytes) {
    std::string path = dataFolder + relativePath;
    makeFolders(path);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void ScriptHost::writeScript(const char* name, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    writeDataFile((std::string("script\\") + name).c_str(), bytes);
}

void ScriptHost::run(const char* name) {
    resetScriptState();
    rootScript().Load(name);
    rootScript().Run();
}

std::vector<std::string> ScriptHost::texts() const {
    std::vector<std::string> list;
    for (const ShownMessage& m : shown) list.push_back(m.text);
    return list;
}

std::vector<std::string> ScriptHost::diagnosticsOf(UiText kind) const {
    // The text before the first conversion and after the last one must match.
    std::string format = uiText(kind);
    std::string prefix = format.substr(0, format.find('%'));
    std::string suffix = format.substr(format.rfind('%') + 2);
    std::vector<std::string> list;
    for (const std::string& d : diagnostics)
        if (d.size() >= prefix.size() + suffix.size() && d.compare(0, prefix.size(), prefix) == 0 &&
            d.compare(d.size() - suffix.size(), suffix.size(), suffix) == 0)
            list.push_back(d);
    return list;
}

std::string readWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string scrambleBytes(const std::string& bytes, uint32_t seed) {
    uint32_t words[624];
    auto fill = [&words](uint32_t x) {
        for (uint32_t& w : words) w = x = x * 69069u;
    };
    fill(seed);
    size_t index = 0;
    std::string out = bytes;
    for (char& c : out) {
        if (index >= 624) {
            fill(words[623]);
            index = 0;
        }
        uint32_t y = words[index++];
        y ^= y >> 11;
        y ^= (y << 7) & 0x6B2D94E7u;
        y ^= (y << 15) & 0x2C8E5B19u;
        y ^= y >> 18;
        c = static_cast<char>(static_cast<uint8_t>(c) ^ (y & 0xFF));
    }
    return out;
}
