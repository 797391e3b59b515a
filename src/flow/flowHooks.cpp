#include "base/flowHooks.h"

#include <cstring>

#include "base/vstring.h"
#include "flow/flowRecord.h"

void flowStartup() { loadFlowChecklist(); }

void flowScriptStarted(const char* name) {
    // The flow record knows scripts by their names without the extension ("start.txt": "start").
    vstring node(name);
    const char* text = node.c_str();
    if (const char* dot = std::strrchr(text, '.'))
        node = vstring(text, static_cast<size_t>(dot - text));
    flowVisit(node.c_str());
}
