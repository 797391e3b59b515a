#include "fakeSoundPlatform.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "testing.h"

namespace {
FakeSound* gFake = nullptr;
char gThreadToken[4];

std::string key(const char* folder, const char* name) {
    std::string k = std::string(folder ? folder : "") + "\\" + (name ? name : "");
    for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
}

struct OpenFile {
    const Bytes* bytes;
    size_t pos;
};

cSoundBuffer* fakeCreate(const SoundFormat& format, uint32_t bytes, bool streaming) {
    if (gFake->createFails) return nullptr;
    auto* b = new FakeBuffer(format, bytes, streaming);
    b->lockFails = gFake->newBuffersFailLock;
    gFake->alive.push_back(b);
    ++gFake->created;
    return b;
}

void fakeRelease(cSoundBuffer* buffer) {
    auto& alive = gFake->alive;
    auto it = std::find(alive.begin(), alive.end(), buffer);
    EXPECT_TRUE(it != alive.end()) << "release of a buffer that is not alive";
    if (it != alive.end()) alive.erase(it);
    ++gFake->released;
    delete buffer;
}

void* fakeStart() {
    if (gFake->threadFails) return nullptr;
    ++gFake->threadsStarted;
    return gThreadToken + (gFake->threadsStarted % 4);
}

void fakeJoin(void* thread) {
    ++gFake->joins;
    gFake->joined.push_back(thread);
    if (gFake->onJoin) gFake->onJoin();
}

bool fakeOpen(const char* folder, const char* name, void** file, uint32_t* size) {
    auto it = gFake->files.find(key(folder, name));
    if (it == gFake->files.end()) return false;
    *file = new OpenFile{&it->second, 0};
    *size = static_cast<uint32_t>(it->second.size());
    return true;
}

bool fakeRead(void* file, void* destination, uint32_t bytes) {
    auto* f = static_cast<OpenFile*>(file);
    if (bytes == 0 || f->pos + bytes > f->bytes->size()) return false;
    std::memcpy(destination, f->bytes->data() + f->pos, bytes);
    f->pos += bytes;
    return true;
}

void fakeClose(void* file) { delete static_cast<OpenFile*>(file); }

const SoundPlatform kFakePlatform = {fakeCreate, fakeRelease, fakeStart, fakeJoin,
                                     fakeOpen,   fakeRead,    fakeClose};
}  // namespace

bool FakeBuffer::Play(bool loop) {
    ++plays;
    if (playFails) return false;
    playing = true;
    looping = loop;
    return true;
}

void FakeBuffer::Stop() {
    ++stops;
    playing = false;
}

void FakeBuffer::SetVolume(int32_t v) {
    volume = v;
    volumes.push_back(v);
}

bool FakeBuffer::GetPlayCursor(uint32_t& c) {
    if (cursorFails) return false;
    c = cursor;
    return true;
}

bool FakeBuffer::SetPlayPosition(uint32_t offset) {
    position = offset;
    return true;
}

bool FakeBuffer::Lock(uint32_t offset, uint32_t n, SoundLock& lock) {
    locks.emplace_back(offset, n);
    if (lockFails || offset >= bytes || n > bytes) return false;
    const uint32_t first = std::min(n, bytes - offset);
    lock.part1 = memory.data() + offset;
    lock.size1 = first;
    lock.part2 = n > first ? memory.data() : nullptr;
    lock.size2 = n - first;
    return true;
}

void FakeBuffer::Unlock(const SoundLock&) { ++unlocks; }

FakeSound::FakeSound() {
    gFake = this;
    setSoundPlatform(&kFakePlatform);
}

FakeSound::~FakeSound() {
    setSoundPlatform(nullptr);
    for (FakeBuffer* b : alive) delete b;
    gFake = nullptr;
}

void FakeSound::file(const std::string& folder, const std::string& name, const Bytes& bytes) {
    files[key(folder.c_str(), name.c_str())] = bytes;
}

FakeBuffer* FakeSound::live(bool streaming) const {
    FakeBuffer* found = nullptr;
    for (FakeBuffer* b : alive) {
        if (b->streaming != streaming) continue;
        EXPECT_EQ(nullptr, found) << "more than one live buffer of a kind";
        found = b;
    }
    return found;
}
