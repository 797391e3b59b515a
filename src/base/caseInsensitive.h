// Equality of names without regard to letter case as the system's ANSI comparison (lstrcmpiA)
// decides it in the configuration's code page: the string pool's keys fold every byte instead.
#pragma once

// True when the texts are equal once the ASCII letters of single-byte characters are folded; a
// double-byte character (the configuration's lead byte and the byte after it) equals only itself,
// so a second byte that happens to be a letter never folds. A lead byte just before the end stands
// alone. Null reads as "".
bool equalsIgnoringCase(const char* a, const char* b);
