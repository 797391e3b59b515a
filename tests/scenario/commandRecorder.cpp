#include "commandRecorder.h"

#include <cstring>

#include "app/realCallees.h"

CommandRecorder* CommandRecorder::current = nullptr;

namespace {

std::string text(const char* s) { return s ? s : "null"; }
std::string text(int64_t v) { return std::to_string(v); }
std::string text(RgbColour c) {
    return std::to_string(c.red) + "/" + std::to_string(c.green) + "/" + std::to_string(c.blue);
}

template <typename... Args>
void record(const char* name, Args... args) {
    CommandRecorder* r = CommandRecorder::current;
    if (!r) return;
    ++r->callCount;
    if (!r->keepCalls) return;
    std::string line = name;
    line += "(";
    bool first = true;
    const std::string parts[] = {text(args)...};
    for (const std::string& p : parts) {
        if (!first) line += ",";
        line += p;
        first = false;
    }
    line += ")";
    r->calls.push_back(line);
}

void record(const char* name) {
    CommandRecorder* r = CommandRecorder::current;
    if (!r) return;
    ++r->callCount;
    if (r->keepCalls) r->calls.push_back(std::string(name) + "()");
}

bool startsWith(const char* s, const char* prefix) {
    return s && std::strncmp(s, prefix, std::strlen(prefix)) == 0;
}

CommandCallees recordingTable() {
    CommandCallees c = {};
    c.clearCommand = [] { record("clearCommand"); };
    c.pollInput = [](uint8_t mode, bool sleep) {
        record("pollInput", int64_t(mode), int64_t(sleep));
        CommandRecorder* r = CommandRecorder::current;
        if (!r) return true;
        ++r->polls;
        return !(r->quitAtPoll && r->polls >= r->quitAtPoll);
    };
    c.getCommand = []() -> uint8_t {
        record("getCommand");
        CommandRecorder* r = CommandRecorder::current;
        if (!r || r->commands.empty()) return 0;
        uint8_t command = r->commands.front();
        r->commands.pop_front();
        return command;
    };
    c.isSkipping = [] {
        record("isSkipping");
        return CommandRecorder::current && CommandRecorder::current->skipping;
    };
    c.sleep = [](uint32_t ms) { record("sleep", int64_t(ms)); };
    c.waitClick = [](int32_t ms) { record("waitClick", int64_t(ms)); };
    c.setMsgWindowMode = [](int mode) { record("setMsgWindowMode", int64_t(mode)); };
    c.isVoiceEnabled = [](const char* name) {
        record("isVoiceEnabled", name);
        return !startsWith(name, "off");
    };
    c.setChapter = [](const char* date, const char* name) { record("setChapter", date, name); };
    c.clearLocalVariables = [] { record("clearLocalVariables"); };
    c.setSeenFlag = [](const char* name) { record("setSeenFlag", name); };
    c.clearAllAnime = [] { record("clearAllAnime"); };
    c.clearAnime = [](int32_t slot) { record("clearAnime", int64_t(slot)); };
    c.loadAnime = [](int32_t slot, const char* name) {
        record("loadAnime", int64_t(slot), name);
        return slot >= 0 && slot <= 9 && name && *name && !startsWith(name, "missing");
    };
    c.applyAnimeSection = [](int32_t slot, int32_t section) {
        record("applyAnimeSection", int64_t(slot), int64_t(section));
        return slot >= 0 && slot <= 9;
    };
    c.setAnimeX = [](int32_t slot, int32_t x) { record("setAnimeX", int64_t(slot), int64_t(x)); };
    c.setAnimeY = [](int32_t slot, int32_t y) { record("setAnimeY", int64_t(slot), int64_t(y)); };
    c.resetAnimeOrigin = [](int32_t slot) { record("resetAnimeOrigin", int64_t(slot)); };
    c.setFadeTime = [](int32_t ms) { record("setFadeTime", int64_t(ms)); };
    c.playBGM = [](const char* name, bool loop) {
        record("playBGM", name, int64_t(loop));
        return true;
    };
    c.stopBGM = [](bool keep) { record("stopBGM", int64_t(keep)); };
    c.fadeOutBGM = [] { record("fadeOutBGM"); };
    c.playEnv = [](const char* name) {
        record("playEnv", name);
        return true;
    };
    c.stopEnv = [](bool keep) { record("stopEnv", int64_t(keep)); };
    c.playSE = [](const char* name) {
        record("playSE", name);
        return true;
    };
    c.stopSE = [] { record("stopSE"); };
    c.playVoice = [](const char* path) {
        record("playVoice", path);
        return true;
    };
    c.setPendingVoice = [](const char* path) { record("setPendingVoice", path); };
    // The colour table is the real one: it only looks names up.
    c.lookupColourName = [](const char* name, RgbColour& out) {
        record("lookupColourName", name);
        return lookupColourName(name, out);
    };
    c.flashScreen = [](int32_t count, RgbColour colour) {
        record("flashScreen", int64_t(count), colour);
        return true;
    };
    c.shakeScreen = [](int32_t ax, int32_t ay, int32_t fx, int32_t fy, uint32_t ms) {
        record("shakeScreen", int64_t(ax), int64_t(ay), int64_t(fx), int64_t(fy), int64_t(ms));
        return true;
    };
    c.playNoiseEffect = [](int32_t a, int32_t b, int32_t c2, int32_t d, int32_t e, int32_t f,
                           int32_t g, int32_t h) {
        record("playNoiseEffect", int64_t(a), int64_t(b), int64_t(c2), int64_t(d), int64_t(e),
               int64_t(f), int64_t(g), int64_t(h));
    };
    c.maskWipeHard = [](const char* rule, uint32_t ms) {
        record("maskWipeHard", rule, int64_t(ms));
        return true;
    };
    c.maskWipeSoft = [](const char* rule, uint32_t ms) {
        record("maskWipeSoft", rule, int64_t(ms));
        return true;
    };
    c.runSaveLoadScreen = [](bool save) {
        record("runSaveLoadScreen", int64_t(save));
        return false;
    };
    c.runConfigDialog = [] {
        record("runConfigDialog");
        return true;
    };
    c.runTimedChoice = [](const char* result, const char* gate) {
        record("runTimedChoice", result, gate);
        return true;
    };
    c.playMovie = [](const char* path) {
        record("playMovie", path);
        return !startsWith(path, "bad");
    };
    c.isMoviePlaying = [] {
        record("isMoviePlaying");
        CommandRecorder* r = CommandRecorder::current;
        return r && r->movieRounds-- > 0;
    };
    c.stopMovie = [] { record("stopMovie"); };
    c.flowResetAll = [] { record("flowResetAll"); };
    c.flowResetRoute = [] { record("flowResetRoute"); };
    return c;
}

}  // namespace

CommandRecorder::CommandRecorder() : table(recordingTable()) {
    current = this;
    setCommandCallees(&table);
}

CommandRecorder::~CommandRecorder() {
    setCommandCallees(nullptr);
    current = nullptr;
}

void CommandRecorder::useRealScriptState() {
    const CommandCallees& real = realCommandCallees();
    table.setChapter = real.setChapter;
    table.setMsgWindowMode = real.setMsgWindowMode;
    table.setSeenFlag = real.setSeenFlag;
    table.clearLocalVariables = real.clearLocalVariables;
    table.isVoiceEnabled = real.isVoiceEnabled;
    table.lookupColourName = real.lookupColourName;
}
