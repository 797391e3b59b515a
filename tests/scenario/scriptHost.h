// A test host for the interpreter: a fixture data folder of scripts, and the waits replaced. The
// message display records what it is given, choices are answered from a queue, input never
// blocks, and every diagnostic is kept.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/uiText.h"

// One shown text block and the state of the chain at that moment.
struct ShownMessage {
    std::string text;
    bool read;
    int levels;         // levels with a script, root first
    int32_t savePoint;  // the deepest level's save-point line while the text is shown
    uint8_t mode;       // the display mode
};

class ScriptHost {
public:
    // A data folder and a save folder of their own under the working folder, both emptied.
    explicit ScriptHost(const char* name);
    ~ScriptHost();
    ScriptHost(const ScriptHost&) = delete;
    ScriptHost& operator=(const ScriptHost&) = delete;

    // Writes "script\<name>" with the lines, each ended by CR LF.
    void writeScript(const char* name, const std::vector<std::string>& lines);
    // Writes a data file with exactly these bytes.
    void writeDataFile(const char* relativePath, const std::string& bytes);

    // Loads the script into the root level and runs it (the state is reset first).
    void run(const char* name);

    std::vector<std::string> texts() const;
    // The diagnostics of one kind (other modules report their own too).
    std::vector<std::string> diagnosticsOf(UiText kind) const;
    size_t lineFailures() const { return diagnosticsOf(UiText::DiagScriptLineFailed).size(); }

    std::vector<ShownMessage> shown;
    std::deque<int32_t> answers;  // runChoice results, in order; 0 when empty
    std::vector<std::string> choiceBegins;
    std::vector<std::pair<int32_t, std::string>> options;
    std::vector<std::string> diagnostics;
    int polls = 0;
    // pollInput reports quit from this poll on (counted from 1; 0 never).
    int quitAtPoll = 0;
    int pumps = 0;
    // pumpMessages reports quit from this pump on (0 never).
    int quitAtPump = 0;
    // Called for every shown block (index from 0) after it is recorded.
    std::function<void(size_t index, const std::string& text)> onShow;

    std::string dataFolder;  // Windows path, ends with a backslash
    std::string saveFolder;

    static ScriptHost* current;
};

// Files of a folder (Windows path), read whole; empty when missing.
std::string readWholeFile(const std::string& path);
bool fileExists(const std::string& path);
// The save keystream, written here on its own: XORs the bytes with a stream seeded with seed.
std::string scrambleBytes(const std::string& bytes, uint32_t seed);
