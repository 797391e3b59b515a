#include "packer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>

#include "files/keystream.h"
#include "hostFiles.h"

namespace packer {
namespace {

constexpr size_t kChunk = 1 << 16;

struct Input {
    std::string name;  // archive name, parts joined by backslashes
    std::string path;
    uint64_t size;
};

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// ByteSource over an input file stream.
class StreamSource final : public ByteSource {
public:
    explicit StreamSource(std::istream& in) : m_in(in) {}
    bool Read(void* buffer, size_t n) override {
        if (n == 0) return true;
        m_in.read(static_cast<char*>(buffer), static_cast<std::streamsize>(n));
        return static_cast<size_t>(m_in.gcount()) == n;
    }

private:
    std::istream& m_in;
};

bool collectInputs(const std::string& root, const std::string& skip, std::vector<Input>& inputs,
                   std::string& error) {
    if (!isFolder(root)) {
        error = "not a folder: " + root;
        return false;
    }
    std::vector<HostFile> files;
    if (!listFiles(root, files, error)) return false;
    for (const HostFile& file : files) {
        if (!skip.empty() && sameFile(file.path, skip)) continue;
        std::string name;
        for (const std::string& part : file.parts) {
            if (part.find('\\') != std::string::npos) {
                error = "a file or folder name holds a backslash: " + file.path;
                return false;
            }
            if (!name.empty()) name += '\\';
            name += part;
        }
        if (name.find(':') != std::string::npos) {
            // The engine reads any name holding ":" as an absolute path, never from an archive.
            error = "a name holds \":\", which the engine would never look up in an archive: " +
                    name;
            return false;
        }
        if (name.empty() || name.size() > kArchiveMaxName) {
            error = "an entry name must be 1 to 255 bytes: " + name;
            return false;
        }
        inputs.push_back({name, file.path, file.size});
    }
    std::sort(inputs.begin(), inputs.end(),
              [](const Input& a, const Input& b) { return a.name < b.name; });
    // The engine's index matches names without regard to letter case: two such names would
    // shadow each other.
    std::map<std::string, std::string> seen;
    for (const Input& in : inputs) {
        auto [at, fresh] = seen.emplace(upper(in.name), in.name);
        if (!fresh) {
            error = "two names differ only in letter case: " + at->second + " and " + in.name;
            return false;
        }
    }
    return true;
}

bool copyEntry(const Input& in, std::ostream& out, uint8_t key, std::string& error) {
    std::ifstream file(in.path, std::ios::binary);
    if (!file) {
        error = "cannot read " + in.path;
        return false;
    }
    KeystreamState stream;
    seedEntryStream(stream, key);
    std::vector<char> buffer(kChunk);
    uint64_t left = in.size;
    while (left > 0) {
        size_t n = left < kChunk ? static_cast<size_t>(left) : kChunk;
        file.read(buffer.data(), static_cast<std::streamsize>(n));
        if (static_cast<size_t>(file.gcount()) != n) {
            error = "cannot read " + in.path + " (did it change while packing?)";
            return false;
        }
        if (key != 0) decipherBytes(buffer.data(), n, stream);
        out.write(buffer.data(), static_cast<std::streamsize>(n));
        left -= n;
    }
    return true;
}

// A name safe to write under the extraction folder: parts without "." or "..", no absolute
// path, no drive, no slash that would be read as another separator.
bool safeParts(const std::string& name, std::vector<std::string>& parts) {
    parts.clear();
    std::string part;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '\\') {
            if (part.empty() || part == "." || part == "..") return false;
            parts.push_back(part);
            part.clear();
        } else if (name[i] == '/' || name[i] == ':') {
            return false;
        } else {
            part += name[i];
        }
    }
    return !parts.empty();
}

bool parseNumber(const char* text, uint64_t max, uint64_t& value) {
    if (!text || !*text || *text == '-' || *text == '+') return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long v = std::strtoull(text, &end, 0);
    if (errno || *end || v > max) return false;
    value = v;
    return true;
}

const char kUsage[] =
    "Usage:\n"
    "  packer pack [--priority N] [--key K] FOLDER ARCHIVE\n"
    "  packer list ARCHIVE\n"
    "  packer extract ARCHIVE FOLDER\n"
    "  packer --help\n"
    "\n"
    "pack     builds a data archive from every file under FOLDER. Each entry is named by its\n"
    "         path inside FOLDER with backslashes between the parts, as the game looks it up\n"
    "         (FOLDER/script/start.txt becomes script\\start.txt). Names are stored as their\n"
    "         bytes: give non-ASCII names in the game's code page.\n"
    "         --priority N  the archive's priority, 0 to 4294967295 (default 0); an entry of\n"
    "                       the same name in another archive is used only when that archive's\n"
    "                       priority is strictly higher, or equal and it is read later\n"
    "         --key K       key byte 0 to 255 (default 0); entries are enciphered unless it is 0\n"
    "         A folder of 200 files or 32 MiB or more shows its progress on stderr.\n"
    "list     prints the archive's priority and each entry's key, size, offset and name\n"
    "extract  writes every entry under FOLDER, backslashes becoming folders\n"
    "\n"
    "Exit status: 0 on success, 1 when the operation fails, 2 for a wrong command line.\n";

std::string mebibytes(uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", double(bytes) / (1024.0 * 1024.0));
    return text;
}

int usageError(std::string& err, const std::string& message) {
    err += "packer: " + message + "\n(run \"packer --help\" for the usage)\n";
    return 2;
}

}  // namespace

bool isLargeFolder(size_t files, uint64_t bytes) {
    return files >= 200 || bytes >= (uint64_t(32) << 20);
}

bool packFolder(const std::string& folder, const std::string& archive, const PackOptions& options,
                std::string& error, std::vector<std::string>* names,
                const std::function<void(const PackProgress&)>& progress) {
    std::vector<Input> inputs;
    if (!collectInputs(folder, archive, inputs, error)) return false;
    if (inputs.size() > 0xFFFFFFFFu) {
        error = "too many files";
        return false;
    }

    std::vector<uint8_t> directory;
    appendArchiveHeader(directory, options.priority, static_cast<uint32_t>(inputs.size()));
    uint64_t offset = kArchiveHeaderSize;
    for (const Input& in : inputs) offset += archiveRecordSize(in.name.size());
    KeystreamState nameStream;
    cipherSeed(nameStream, kArchiveSeed);
    for (const Input& in : inputs) {
        if (in.size > 0xFFFFFFFFu || offset + in.size > 0xFFFFFFFFu) {
            error = "the archive would pass 4 GiB, which its 32-bit offsets cannot address (at " +
                    in.name + ")";
            return false;
        }
        appendArchiveRecord(directory, nameStream, options.key, in.name.data(), in.name.size(),
                            static_cast<uint32_t>(offset), static_cast<uint32_t>(in.size));
        offset += in.size;
    }

    PackProgress done;
    done.totalFiles = inputs.size();
    for (const Input& in : inputs) done.totalBytes += in.size;

    const std::string partial = archive + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "cannot write " + partial;
            return false;
        }
        out.write(reinterpret_cast<const char*>(directory.data()),
                  static_cast<std::streamsize>(directory.size()));
        for (const Input& in : inputs) {
            if (!copyEntry(in, out, options.key, error)) {
                out.close();
                removeFile(partial);
                return false;
            }
            ++done.files;
            done.bytes += in.size;
            if (progress) progress(done);
        }
        out.flush();
        if (!out) {
            out.close();
            removeFile(partial);
            error = "cannot write " + partial;
            return false;
        }
    }
    if (!renameFile(partial, archive)) {
        removeFile(partial);
        error = "cannot create " + archive;
        return false;
    }
    if (names) {
        names->clear();
        for (const Input& in : inputs) names->push_back(in.name);
    }
    return true;
}

bool listArchive(const std::string& archive, ArchiveHeader& header,
                 std::vector<ListedEntry>& entries, std::string& error) {
    entries.clear();
    uint64_t size = 0;
    bool known = fileSize(archive, size);
    std::ifstream in(archive, std::ios::binary);
    if (!known || !in) {
        error = "cannot read " + archive;
        return false;
    }
    StreamSource source(in);
    bool whole = readArchiveDirectory(source, size, header, [&](const ArchiveRecord& r) {
        entries.push_back({r.key, r.name.c_str(), r.offset, r.size});
    });
    if (!whole) {
        if (header.version == 0)
            error = archive + " is not a data archive (no MORVPACK header)";
        else if (header.version != kArchiveVersion)
            error = archive + " has version " + std::to_string(header.version) +
                    ", not " + std::to_string(kArchiveVersion);
        else
            error = archive + ": the directory is damaged after " +
                    std::to_string(entries.size()) + " entries";
        return false;
    }
    if (entries.size() != header.count) {
        error = archive + ": " + std::to_string(header.count - entries.size()) +
                " entries point outside the file";
        return false;
    }
    return true;
}

bool extractArchive(const std::string& archive, const std::string& folder, std::string& error) {
    ArchiveHeader header;
    std::vector<ListedEntry> entries;
    std::string damage;
    bool whole = listArchive(archive, header, entries, damage);
    if (!whole && header.version != kArchiveVersion) {
        error = damage;
        return false;
    }
    std::ifstream in(archive, std::ios::binary);
    std::vector<std::string> parts;
    std::vector<char> buffer(kChunk);
    for (const ListedEntry& e : entries) {
        if (!safeParts(e.name, parts)) {
            error = "refusing an entry name that would leave the folder: " + e.name;
            return false;
        }
        std::string path = folder;
        for (size_t i = 0; i + 1 < parts.size(); ++i) path = joinPath(path, parts[i]);
        makeFolders(path);
        path = joinPath(path, parts.back());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        in.clear();
        in.seekg(static_cast<std::streamoff>(e.offset));
        if (!out || !in) {
            error = "cannot write " + path;
            return false;
        }
        KeystreamState stream;
        seedEntryStream(stream, e.key);
        uint32_t left = e.size;
        while (left > 0) {
            size_t n = left < kChunk ? left : kChunk;
            in.read(buffer.data(), static_cast<std::streamsize>(n));
            if (static_cast<size_t>(in.gcount()) != n) {
                error = "cannot read the data of " + e.name;
                return false;
            }
            if (e.key != 0) decipherBytes(buffer.data(), n, stream);
            out.write(buffer.data(), static_cast<std::streamsize>(n));
            left -= static_cast<uint32_t>(n);
        }
        if (!out.flush()) {
            error = "cannot write " + path;
            return false;
        }
    }
    if (!whole) {
        error = damage;
        return false;
    }
    return true;
}

int runPacker(int argc, char** argv, std::string& out, std::string& err,
              const std::function<void(const std::string&)>& progress) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usageError(err, "no command given");
    const std::string command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        out += kUsage;
        return 0;
    }
    std::vector<std::string> operands;
    PackOptions options;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (command == "pack" && (a == "--priority" || a == "--key")) {
            if (i + 1 >= args.size()) return usageError(err, a + " needs a value");
            uint64_t v = 0;
            if (a == "--priority") {
                if (!parseNumber(args[i + 1].c_str(), 0xFFFFFFFFu, v))
                    return usageError(err, "--priority takes 0 to 4294967295, not \"" +
                                               args[i + 1] + "\"");
                options.priority = static_cast<uint32_t>(v);
            } else {
                if (!parseNumber(args[i + 1].c_str(), 255, v))
                    return usageError(err, "--key takes 0 to 255, not \"" + args[i + 1] + "\"");
                options.key = static_cast<uint8_t>(v);
            }
            ++i;
        } else if (a == "--help") {
            out += kUsage;
            return 0;
        } else if (a.size() > 1 && a[0] == '-') {
            return usageError(err, "unknown option " + a);
        } else {
            operands.push_back(a);
        }
    }

    std::string error;
    if (command == "pack") {
        if (operands.size() != 2) return usageError(err, "pack takes FOLDER and ARCHIVE");
        int tenthsShown = 0;
        std::function<void(const PackProgress&)> report;
        if (progress) {
            report = [&](const PackProgress& p) {
                if (!isLargeFolder(p.totalFiles, p.totalBytes)) return;
                // By bytes, or by entries for a folder of empty files.
                int tenths = p.totalBytes ? int(p.bytes * 10 / p.totalBytes)
                                          : int(p.files * 10 / p.totalFiles);
                if (tenths <= tenthsShown && p.files < p.totalFiles) return;
                tenthsShown = tenths;
                progress("packing: " + std::to_string(tenths * 10) + "% (" +
                         std::to_string(p.files) + " of " + std::to_string(p.totalFiles) +
                         " files, " + mebibytes(p.bytes) + " of " + mebibytes(p.totalBytes) +
                         " MiB)");
            };
        }
        std::vector<std::string> names;
        if (!packFolder(operands[0], operands[1], options, error, &names, report)) {
            err += "packer: " + error + "\n";
            return 1;
        }
        out += "packed " + std::to_string(names.size()) + " entries into " + operands[1] + "\n";
        return 0;
    }
    if (command == "list") {
        if (operands.size() != 1) return usageError(err, "list takes ARCHIVE");
        ArchiveHeader header;
        std::vector<ListedEntry> entries;
        bool ok = listArchive(operands[0], header, entries, error);
        if (header.version == kArchiveVersion) {
            out += "priority " + std::to_string(header.priority) + ", " +
                   std::to_string(header.count) + " entries\n";
            char line[64];
            for (const ListedEntry& e : entries) {
                std::snprintf(line, sizeof line, "key %3u  size %10u  offset %10u  ",
                              unsigned(e.key), e.size, e.offset);
                out += line + e.name + "\n";
            }
        }
        if (!ok) {
            err += "packer: " + error + "\n";
            return 1;
        }
        return 0;
    }
    if (command == "extract") {
        if (operands.size() != 2) return usageError(err, "extract takes ARCHIVE and FOLDER");
        if (!extractArchive(operands[0], operands[1], error)) {
            err += "packer: " + error + "\n";
            return 1;
        }
        return 0;
    }
    return usageError(err, "unknown command \"" + command + "\"");
}

}  // namespace packer
