#include "base/debugMessage.h"

#include <cstdarg>
#include <cstdio>

namespace {
DebugSink gSink = nullptr;
}

void setDebugSink(DebugSink sink) { gSink = sink; }

int debugMessage(const char* format, ...) {
    if (gSink && format) {
        char text[1024];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        gSink(text);
    }
    return 0;
}
