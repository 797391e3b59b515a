// A callee table for the script commands that records every call with its arguments, as one text
// per call ("loadAnime(3,bg)"), and answers queries from settings the test chooses.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "scenario/commandCallees.h"

class CommandRecorder {
public:
    // Installs the recording table (the real one again when the recorder goes).
    CommandRecorder();
    ~CommandRecorder();
    CommandRecorder(const CommandRecorder&) = delete;
    CommandRecorder& operator=(const CommandRecorder&) = delete;

    std::vector<std::string> calls;
    // When false, only the number of calls is kept (hostile inputs with many calls).
    bool keepCalls = true;
    size_t callCount = 0;

    // loadAnime fails for slots outside 0 to 9, an empty name and names that begin with "missing".
    // isVoiceEnabled is false for names that begin with "off".
    bool skipping = false;
    // playMovie succeeds unless the path begins with "bad"; isMoviePlaying answers true this many
    // times, then false.
    int movieRounds = 100;
    // getCommand answers from here in order, then 0.
    std::deque<uint8_t> commands;
    // pollInput answers false from this call on (counted from 1; 0 never).
    int quitAtPoll = 0;
    int polls = 0;

    // The table: the recording functions. Tests may mix in real ones before installing it again.
    CommandCallees table;

    // The real callees of the script's own state (chapter, window mode, seen flags, local
    // variables, the voice switch, colour names) in place of their recorders.
    void useRealScriptState();

    static CommandRecorder* current;
};
