// What the backlog screen calls to replay a row's voice, real by default; tests put their own in.
#pragma once

struct BacklogCallees {
    bool (*playVoice)(const char* path);
};
BacklogCallees& backlogCallees();
// The real callees again.
void restoreBacklogCallees();
