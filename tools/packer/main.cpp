#include <cstdio>
#include <string>

#include "packer.h"

int main(int argc, char** argv) {
    std::string out, err;
    int code = packer::runPacker(argc, argv, out, err, [](const std::string& line) {
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    });
    std::fputs(out.c_str(), stdout);
    std::fputs(err.c_str(), stderr);
    return code;
}
