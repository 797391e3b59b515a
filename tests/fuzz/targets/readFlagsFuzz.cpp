// The read-text log "complete.log": an input is its deciphered contents. It is stored enciphered
// in the save folder and read by the loader; the table read must hold only ranges from line 1 on,
// and must survive its own writing: the text written for it reads back as the same table.
#include <string>
#include <vector>

#include "base/moduleState.h"
#include "files/keystream.h"
#include "scenario/readflags/readFlags.h"
#include "fuzzFiles.h"

namespace {
// The whole table as "name: first-last ..." lines, through the names the text lists.
std::string tableDump(const std::string& text) {
    std::string dump;
    size_t p = 0;
    while (p < text.size()) {
        size_t cr = text.find('\r', p);
        if (cr == std::string::npos) cr = text.size();
        const std::string line = text.substr(p, cr - p);
        p = cr + 1;
        if (line.empty() || line[0] == '\\') continue;
        const mReadFlags::cSecList* ranges = mReadFlags::tableEntry(line.c_str());
        FUZZ_CHECK(ranges != nullptr);
        dump += line + ":";
        for (const mReadFlags::cSeqNode& r : *ranges) {
            FUZZ_CHECK(r.first >= 1);
            dump += " " + std::to_string(r.first) + "-" + std::to_string(r.last);
        }
        dump += "\n";
    }
    return dump;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFolder& folder = FuzzFolder::get();
    std::vector<uint8_t> stored(data, data + size);
    KeystreamState stream;
    cipherSeed(stream, kSaveSeed);
    decipherBytes(stored.data(), stored.size(), stream);
    FuzzFolder::write(folder.save() + "complete.log", stored.data(), stored.size());

    resetEngineState();
    FUZZ_CHECK(mReadFlags::load());
    const std::string written = mReadFlags::logText();
    const std::string dump = tableDump(written);

    resetEngineState();
    FUZZ_CHECK(mReadFlags::readLogText(written.c_str()));
    FUZZ_CHECK(mReadFlags::logText() == written);
    FUZZ_CHECK(tableDump(written) == dump);

    // Reading the script whose ranges the table holds, and a line of it.
    mReadFlags::beginScript("start.txt");
    mReadFlags::checkLine(1);
    mReadFlags::flushPending();
    mReadFlags::commit();
    resetEngineState();
    return 0;
}
