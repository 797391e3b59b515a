// The commands of music, ambient loops, sound effects and voices.
#include "media/sound.h"
#include "scenario/commandCallees.h"
#include "scenario/commandTable.h"
#include "scenario/scriptLines.h"

bool cmdBgm() {
    const CommandCallees& c = commandCallees();
    const char* name = commandWord(0);
    c.setSeenFlag(name);
    const bool loop = !equalsNoCase(commandWord(1), "noloop");
    if (equalsNoCase(name, "fade")) c.fadeOutBGM();
    else if (*name) c.playBGM(name, loop);
    else c.stopBGM(false);
    return true;
}

bool cmdEnv() {
    commandCallees().playEnv(commandWord(0));
    return true;
}

bool cmdSe() {
    const CommandCallees& c = commandCallees();
    if (!c.isSkipping()) c.playSE(commandWord(0));
    return true;
}

bool cmdVoice() {
    const CommandCallees& c = commandCallees();
    const char* name = commandWord(0);
    const bool ghost = equalsNoCase(commandWord(1), "ghost");
    if (*name == '\\') {
        gVoiceFolder = name + 1;
        return true;
    }
    if (!c.isVoiceEnabled(name)) return false;
    // The folder, one leading backslash dropped, then the name; without a folder the name alone
    // (a path that began with a backslash would match no file).
    const char* folder = gVoiceFolder.c_str();
    if (*folder == '\\') ++folder;
    vstring path;
    if (*folder) {
        path = folder;
        path += "\\";
    }
    path += name;
    if (path.size() > kMaxVoicePath) return false;
    c.setPendingVoice(path.c_str());
    if (!c.isSkipping() && !ghost) c.playVoice(path.c_str());
    return true;
}
