#include "files/archiveIndex.h"

bool initDataArchives() { return false; }
bool scanDataArchives() { return false; }
