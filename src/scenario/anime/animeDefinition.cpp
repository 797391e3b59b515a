// Applying a section of an animation definition (".img" in folder "anime") to its slot.
//
// Lines: ";" comment; "#" header listing the sections the following lines apply to (none: all);
// a line holding "=" is a key line; otherwise one holding ":" is a step of the program; the line
// "ResetTimer", exactly, restarts the program's time (any other line is ignored). Key words, type
// words and mode names compare without regard to case.
#include <cstring>

#include "base/clock.h"
#include "files/textBuf.h"
#include "scenario/anime/animeData.h"

namespace mAnime {
namespace {

bool equalsNoCase(const char* a, const char* b) { return vs_compare(a, b) == 0; }

// The rest of key after a prefix matched without regard to case, or null.
const char* afterPrefix(const char* key, const char* prefix) {
    const size_t n = std::strlen(prefix);
    if (std::strlen(key) < n) return nullptr;
    const vstring head(key, n);
    return equalsNoCase(head.c_str(), prefix) ? key + n : nullptr;
}

const char* const kModeNames[] = {
    "Normal", "Add",     "Sub",       "Multi",      "Div",       "Screen",    "Overlay",  "Dodge",
    "Burn",   "Darken",  "Lighten",   "Difference", "Exclusion", "Hardlight", "Softlight",
};

// The BlendMode of a mode name; 0 (not drawn) for any other word.
uint8_t modeOf(const char* word) {
    for (size_t i = 0; i < sizeof kModeNames / sizeof kModeNames[0]; ++i)
        if (equalsNoCase(word, kModeNames[i])) return static_cast<uint8_t>(i + 1);
    return 0;
}

// A layer number 0 to 9 after a key prefix, else -1 (numbers saturate, so a huge one is no layer).
int layerOf(const char* digits) {
    const int32_t n = decimalValue(digits);
    return n >= 0 && n < kAnimeLayerCount ? n : -1;
}

int32_t alphaOf(const char* word) {
    int64_t value = decimalValue(word);
    if (std::strchr(word, '%')) value = value * 255 / 100;
    if (value < 0) return 0;
    if (value > 255) return 255;
    return static_cast<int32_t>(value);
}

// The text up to the first of the stop characters (or the end).
vstring headUntil(const char* line, const char* stops) {
    return vstring(line, std::strcspn(line, stops));
}

}  // namespace

void cAnimeData::ApplySection(int32_t number) {
    section = number;
    commands.clear();
    bool active = true;  // lines before the first header apply to every section
    for (size_t i = 0; i < definition.LineCount(); ++i) {
        const char* line = definition.Line(i);
        if (!line || line[0] == ';') continue;
        if (line[0] == '#') {
            cParams words;
            words.Parse(line + 1);
            active = words.Count() == 0;
            for (int w = 0; w < words.Count() && !active; ++w)
                active = decimalValue(words.Get(w)) == number;
            continue;
        }
        if (!active) continue;

        if (const char* equals = std::strchr(line, '=')) {
            const vstring key = headUntil(line, "= \t");
            cParams value;
            value.Parse(equals + 1);
            const char* word = value.Get(0);
            const int32_t n = decimalValue(word);
            const char* k = key.c_str();
            const char* rest;
            if (equalsNoCase(k, "Type")) {
                if (equalsNoCase(word, "actor")) type = kAnimeTypeActor;
                else if (equalsNoCase(word, "back")) type = kAnimeTypeBack;
                else if (equalsNoCase(word, "movie")) type = kAnimeTypeMovie;
            } else if (equalsNoCase(k, "Name")) {
                displayName = word;
            } else if (equalsNoCase(k, "PosX")) {
                originX = n;
            } else if (equalsNoCase(k, "PosY")) {
                originY = n;
            } else if (equalsNoCase(k, "Base")) {
                baseName = word;
            } else if (equalsNoCase(k, "Face")) {
                faceName = word;
            } else if (equalsNoCase(k, "FaceX")) {
                faceX = n;
            } else if (equalsNoCase(k, "FaceY")) {
                faceY = n;
            } else if ((rest = afterPrefix(k, "Img"))) {
                const int layer = layerOf(rest);
                if (layer >= 0) layers[layer].name = word;
            } else if ((rest = afterPrefix(k, "Mode"))) {
                const int layer = layerOf(rest);
                if (layer >= 0) layers[layer].mode = modeOf(word);
            } else if ((rest = afterPrefix(k, "Alpha"))) {
                const int layer = layerOf(rest);
                if (layer >= 0) layers[layer].alpha = alphaOf(word);
            }
        } else if (const char* colon = std::strchr(line, ':')) {
            const vstring operation = headUntil(line, ": \t");
            cAnimeCommand step;
            parseAnimeCommand(step, operation.c_str(), colon + 1);
            commands.push_back(step);
        } else if (std::strcmp(line, "ResetTimer") == 0) {
            startTime = currentTimeMs();
        }
    }
}

}  // namespace mAnime
