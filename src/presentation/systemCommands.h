// What the system commands share with the rest of the program.
#pragma once

// The quick save of command 17: slot 0 with the memo "クイックセーブ" (in Shift-JIS in both
// configurations), written in one replacing write; false when it failed.
bool quickSave();
