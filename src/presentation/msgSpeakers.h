// Game content of the message window and its driver: the speakers' colour groups and the voice
// groups. The game data names them in its configuration:
//   [Message.Speaker]   <speaker name>=<colour group 1 to 9>
//   [Message.Voice]     <two-letter prefix of a female character's voice files>=on
#pragma once
#include <cstdint>

// Colour group 1 to 9 of a speaker name, 0 for none.
using SpeakerGroupLookup = int (*)(const char* name);
// True when a two-byte prefix (NUL-terminated) begins the voice files of a female character.
using FemaleVoiceLookup = bool (*)(const char* prefix);
// Installs the lookups (nullptr: no names, no prefixes).
void setSpeakerLookups(SpeakerGroupLookup speakers, FemaleVoiceLookup femaleVoices);
// Reads both tables from the configuration registry and installs lookups over them: names and
// prefixes match without regard to letter case as the system compares them (equalsIgnoringCase).
void loadMessageContent();

// The text colour of a speaker: white unless the speaker-colour switch of the settings is on; then
// (215, 215, 215) for no name, the group's colour for a known name, white for any other.
void speakerColour(uint8_t& r, uint8_t& g, uint8_t& b, const char* name);

// The voice-group switch for a voice file: the female-voices switch of the settings when its first
// two bytes are a female prefix, the male-voices switch otherwise.
bool voiceGroupEnabled(const char* voiceFile);
