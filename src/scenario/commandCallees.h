// Everything the script commands call in the other modules, as one table of function pointers.
// Start-up installs the real functions (app/realCallees.h); tests install recorders in their place.
#pragma once
#include <cstdint>

#include "config/colourName.h"

struct CommandCallees {
    // Input and waiting.
    void (*clearCommand)();
    bool (*pollInput)(uint8_t inputMode, bool sleep);
    uint8_t (*getCommand)();
    bool (*isSkipping)();
    void (*sleep)(uint32_t ms);
    // The message display.
    void (*waitClick)(int32_t ms);
    void (*setMsgWindowMode)(int mode);
    bool (*isVoiceEnabled)(const char* voiceFile);
    // Script state and variables.
    void (*setChapter)(const char* date, const char* name);
    void (*clearLocalVariables)();
    void (*setSeenFlag)(const char* name);
    // Picture slots.
    void (*clearAllAnime)();
    void (*clearAnime)(int32_t slot);
    bool (*loadAnime)(int32_t slot, const char* name);
    bool (*applyAnimeSection)(int32_t slot, int32_t section);
    void (*setAnimeX)(int32_t slot, int32_t x);
    void (*setAnimeY)(int32_t slot, int32_t y);
    void (*resetAnimeOrigin)(int32_t slot);
    void (*setFadeTime)(int32_t ms);
    // Sound and the backlog's voice.
    bool (*playBGM)(const char* name, bool loop);
    void (*stopBGM)(bool keepName);
    void (*fadeOutBGM)();
    bool (*playEnv)(const char* name);
    void (*stopEnv)(bool keepName);
    bool (*playSE)(const char* name);
    void (*stopSE)();
    bool (*playVoice)(const char* path);
    void (*setPendingVoice)(const char* path);
    // Colours, effects and wipes.
    bool (*lookupColourName)(const char* name, RgbColour& out);
    bool (*flashScreen)(int32_t count, RgbColour colour);
    bool (*shakeScreen)(int32_t amplitudeX, int32_t amplitudeY, int32_t frequencyX,
                        int32_t frequencyY, uint32_t ms);
    void (*playNoiseEffect)(int32_t v0, int32_t v1, int32_t v2, int32_t v3, int32_t v4,
                            int32_t v5, int32_t v6, int32_t v7);
    bool (*maskWipeHard)(const char* rule, uint32_t ms);
    bool (*maskWipeSoft)(const char* rule, uint32_t ms);
    // Screens.
    bool (*runSaveLoadScreen)(bool save);
    bool (*runConfigDialog)();
    bool (*runTimedChoice)(const char* resultVariable, const char* gateVariable);
    // Movies.
    bool (*playMovie)(const char* path);
    bool (*isMoviePlaying)();
    void (*stopMovie)();
    // The flow record: set in the full configuration only (the earlier one's commands make no
    // flow calls).
    void (*flowResetAll)();
    void (*flowResetRoute)();
};

// The table the commands use: the installed one. Until a table is installed (and after null)
// executeCommand runs no command: each line fails quietly as an unknown word does.
const CommandCallees& commandCallees();
bool commandCalleesInstalled();
// Installs a table (null: none). The table must outlive its use.
void setCommandCallees(const CommandCallees* callees);

// The configuration's own entries of the real table (the flow record's in the full one), added
// where the real table is filled.
void addConfigurationCallees(CommandCallees& callees);
