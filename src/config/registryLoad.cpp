#include "config/registry.h"
#include "files/textBuf.h"

namespace mSystemParam {
bool loadConfig() {
    gConfigRegistry.clear();
    cTextBuf list;
    if (!list.Load("config", "config.txt")) return true;
    cTextBuf file;
    vstring name;
    // Every line is a file name: an empty or comment line simply fails to load.
    for (size_t i = 0; list.GetLine(i, name); ++i)
        if (file.Load("config", name.c_str())) parseConfigFile(file);
    return true;
}
}  // namespace mSystemParam
