// Data file reads, at the byte level under the file object: an input is a folder name, a file
// name (each ended by a NUL) and an archive. The name is joined to the folder as a data file's
// name is, looked up in the archive's index, and every indexed entry's data is deciphered from the
// archive bytes in pieces of the sizes the input chooses, which must give the same bytes as one
// piece (the stream stays in step with the position).
#include <cstring>
#include <vector>

#include "files/archiveFormat.h"
#include "files/archiveIndex.h"
#include "files/fileNames.h"
#include "files/keystream.h"
#include "fuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const std::string folder = input.Text();
    const std::string name = input.Text();
    const uint8_t pieceSeed = input.Byte();
    const uint8_t* archive = input.Rest();
    const size_t archiveSize = input.Left();

    gArchiveIndex.clear();
    MemorySource source(archive, archiveSize);
    indexArchive(source, archiveSize, "data.dat");

    // The joined name, as a data file names its entry.
    char joined[kPathMax];
    const bool absolute = std::strchr(name.c_str(), ':') != nullptr;
    const bool fits = (!folder.empty() && !absolute)
                          ? formatPath(joined, "%s\\%s", folder.c_str(), name.c_str())
                          : formatPath(joined, "%s", name.c_str());
    if (fits) {
        FUZZ_CHECK(std::strlen(joined) < kPathMax);
        findArchiveEntry(joined);
        char path[kPathMax];
        formatPath(path, "%s%s", gDataFolder, joined);
        sameFileExtension(joined, name.c_str());
    } else {
        FUZZ_CHECK(joined[0] == 0);
    }
    char beside[kPathMax];
    folderBesideModule(beside, folder.c_str(), name.c_str());
    FUZZ_CHECK(std::strlen(beside) < kPathMax);

    for (const auto& [entryName, node] : gArchiveIndex) {
        FUZZ_CHECK(findArchiveEntry(entryName.c_str()) == &node);
        FUZZ_CHECK(uint64_t(node.offset) + node.size <= archiveSize);
        const uint8_t* stored = archive + node.offset;
        std::vector<uint8_t> whole(stored, stored + node.size);
        std::vector<uint8_t> pieces = whole;
        if (node.key != 0) {
            KeystreamState stream;
            seedEntryStream(stream, node.key);
            decipherBytes(whole.data(), whole.size(), stream);
            seedEntryStream(stream, node.key);
            size_t at = 0;
            uint32_t step = pieceSeed;
            while (at < pieces.size()) {
                step = step * 73 + 11;
                size_t n = 1 + step % 700;
                if (n > pieces.size() - at) n = pieces.size() - at;
                decipherBytes(pieces.data() + at, n, stream);
                at += n;
            }
        }
        FUZZ_CHECK(whole == pieces);
    }
    gArchiveIndex.clear();
    return 0;
}
