// Data file reads through the program's own file object: an input is a folder name and a file
// name (each ended by a NUL), a byte that chooses read sizes, and an archive. The archive is put
// in the data folder and indexed by the scan of that folder; every entry it indexes is opened by
// name and read in pieces, which must give its deciphered bytes. The archive is also put there as
// a loose file, read back the same way, and the input's own name is opened as given.
#include <cstring>
#include <vector>

#include "files/archiveFormat.h"
#include "files/archiveIndex.h"
#include "files/dataFile.h"
#include "files/fileNames.h"
#include "files/keystream.h"
#include "fuzzFiles.h"

namespace {
// Reads the open file to its end in pieces of 1 to 700 bytes chosen by the seed.
std::vector<uint8_t> readInPieces(cFile& file, uint8_t seed) {
    std::vector<uint8_t> out;
    uint8_t piece[700];
    uint32_t step = seed;
    FUZZ_CHECK(!file.Read(piece, 0));
    while (file.Remaining() > 0) {
        step = step * 73 + 11;
        size_t n = 1 + step % sizeof piece;
        if (n > file.Remaining()) {
            // More than is left fails and reads nothing.
            const uint32_t left = file.Remaining();
            FUZZ_CHECK(!file.Read(piece, n) && file.Remaining() == left);
            n = left;
        }
        FUZZ_CHECK(file.Read(piece, n));
        out.insert(out.end(), piece, piece + n);
    }
    FUZZ_CHECK(!file.Read(piece, 1));
    return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFolder& folder = FuzzFolder::get();
    FuzzInput input(data, size);
    const std::string folderName = input.Text();
    const std::string name = input.Text();
    const uint8_t pieceSeed = input.Byte();
    const uint8_t* archive = input.Rest();
    const size_t archiveSize = input.Left();

    FuzzFolder::write(folder.data() + "data.dat", archive, archiveSize);
    FuzzFolder::write(folder.data() + "loose/whole.bin", archive, archiveSize);
    FUZZ_CHECK(scanDataArchives());

    for (const auto& [entryName, node] : gArchiveIndex) {
        FUZZ_CHECK(uint64_t(node.offset) + node.size <= archiveSize);
        // A name holding ":" is a path of its own, and one too long for a path cannot be opened.
        char path[kPathMax];
        if (std::strchr(entryName.c_str(), ':') ||
            !formatPath(path, "%s%s", gDataFolder, entryName.c_str()))
            continue;
        std::vector<uint8_t> expected(archive + node.offset, archive + node.offset + node.size);
        if (node.key != 0) {
            KeystreamState stream;
            seedEntryStream(stream, node.key);
            decipherBytes(expected.data(), expected.size(), stream);
        }
        cFile file;
        FUZZ_CHECK(file.Open(nullptr, entryName.c_str()));
        FUZZ_CHECK(file.Size() == node.size && file.Key() == node.key);
        FUZZ_CHECK(readInPieces(file, pieceSeed) == expected);
    }

    // The loose copy, unless the archive holds an entry of that name (which then wins).
    if (!findArchiveEntry("loose\\whole.bin")) {
        cFile file;
        FUZZ_CHECK(file.Open("loose", "whole.bin"));
        FUZZ_CHECK(file.Size() == archiveSize && file.Key() == 0);
        FUZZ_CHECK(readInPieces(file, pieceSeed) == std::vector<uint8_t>(archive, archive + archiveSize));
    }

    // Whatever the input names, inside the data folder (the host's own files stay out of it).
    const std::string both = folderName + "\\" + name;
    cFile file;
    if (both.find("..") == std::string::npos && both.find(':') == std::string::npos &&
        file.Open(folderName.c_str(), name.c_str())) {
        FUZZ_CHECK(file.Remaining() == file.Size());
        FUZZ_CHECK(readInPieces(file, pieceSeed).size() == file.Size());
    }
    file.Close();
    gArchiveIndex.clear();
    return 0;
}
