// The one diagnostic sink: every failure report of the program goes here and is not shown.
#pragma once

int debugMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Test seam: a function that receives each formatted diagnostic (none by default).
using DebugSink = void (*)(const char* text);
void setDebugSink(DebugSink sink);
