#include "media/soundDevice.h"

#include <objbase.h>

#include <new>

#include "base/mainWindowHandle.h"
#include "files/dataFile.h"
#include "media/sound.h"
#include "media/soundPlatform.h"

namespace {

constexpr DWORD kStaticFlags = DSBCAPS_STICKYFOCUS | DSBCAPS_CTRLVOLUME | DSBCAPS_LOCSOFTWARE;
constexpr DWORD kStreamingFlags = kStaticFlags | DSBCAPS_GETCURRENTPOSITION2;
static_assert(kStreamingFlags == 0x14088 && kStaticFlags == 0x4088, "buffer flags");
constexpr DWORD kRefillMs = 100;
// The class and interface of the device. Named here: the library that defines them clashes at
// link time with the one that defines the filter graph's.
const CLSID kClassDirectSound = {
    0x47d4d946, 0x62e8, 0x11cf, {0x93, 0xbc, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID kInterfaceDirectSound = {
    0x279afa83, 0x4981, 0x11ce, {0xa5, 0x21, 0x00, 0x20, 0xaf, 0x0b, 0xe5, 0x60}};

// The device is the platform side, like an installed backend: the engine reset leaves it.
struct DeviceState {
    IDirectSound* directSound = nullptr;
    IDirectSoundBuffer* primaryBuffer = nullptr;
    // While the music thread runs: set by the join, so that a stop does not wait out the thread's
    // pause between two refills.
    HANDLE streamWake = nullptr;
};
DeviceState gDevice;

void releasePrimaryBuffer() {
    if (!gDevice.primaryBuffer) return;
    gDevice.primaryBuffer->Stop();
    gDevice.primaryBuffer->Release();
    gDevice.primaryBuffer = nullptr;
}

class cDirectSoundBuffer : public cSoundBuffer {
public:
    explicit cDirectSoundBuffer(IDirectSoundBuffer* buffer) : m_buffer(buffer) {}
    ~cDirectSoundBuffer() override { m_buffer->Release(); }
    bool Play(bool looping) override {
        return SUCCEEDED(m_buffer->Play(0, 0, looping ? DSBPLAY_LOOPING : 0));
    }
    void Stop() override { m_buffer->Stop(); }
    void SetVolume(int32_t hundredthsDb) override { m_buffer->SetVolume(hundredthsDb); }
    bool IsPlaying() override {
        DWORD status = 0;
        return SUCCEEDED(m_buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
    }
    bool GetPlayCursor(uint32_t& cursor) override {
        DWORD play = 0, write = 0;
        if (FAILED(m_buffer->GetCurrentPosition(&play, &write))) return false;
        cursor = play;
        return true;
    }
    bool SetPlayPosition(uint32_t offset) override {
        return SUCCEEDED(m_buffer->SetCurrentPosition(offset));
    }
    bool Lock(uint32_t offset, uint32_t bytes, SoundLock& lock) override {
        void* p1 = nullptr;
        void* p2 = nullptr;
        DWORD n1 = 0, n2 = 0;
        if (FAILED(m_buffer->Lock(offset, bytes, &p1, &n1, &p2, &n2, 0))) return false;
        lock = {p1, n1, p2, n2};
        return true;
    }
    void Unlock(const SoundLock& lock) override {
        m_buffer->Unlock(lock.part1, lock.size1, lock.part2, lock.size2);
    }

private:
    IDirectSoundBuffer* m_buffer;
};

WAVEFORMATEX pcmFormat(int32_t channels, int32_t rate) {
    WAVEFORMATEX f = {};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = static_cast<WORD>(channels);
    f.nSamplesPerSec = static_cast<DWORD>(rate);
    f.wBitsPerSample = 16;
    f.nBlockAlign = static_cast<WORD>(channels * 2);
    f.nAvgBytesPerSec = f.nBlockAlign * f.nSamplesPerSec;
    return f;
}

cSoundBuffer* platformCreateBuffer(const SoundFormat& format, uint32_t bytes, bool streaming) {
    if (format.channels < 1 || format.channels > 0xFFFF / 2 || format.rate < 1) return nullptr;
    const WAVEFORMATEX f = pcmFormat(format.channels, format.rate);
    IDirectSoundBuffer* buffer = createSoundBuffer(&f, bytes, streaming);
    if (!buffer) return nullptr;
    cSoundBuffer* wrapped = new (std::nothrow) cDirectSoundBuffer(buffer);
    if (!wrapped) buffer->Release();
    return wrapped;
}

void platformReleaseBuffer(cSoundBuffer* buffer) { delete buffer; }

void closeStreamWake() {
    if (gDevice.streamWake) CloseHandle(gDevice.streamWake);
    gDevice.streamWake = nullptr;
}

void* platformStartThread() {
    gDevice.streamWake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, bgmStreamThread, nullptr, 0, nullptr);
    if (!thread) closeStreamWake();
    return thread;
}

void platformJoinThread(void* thread) {
    if (gDevice.streamWake) SetEvent(gDevice.streamWake);
    WaitForSingleObject(static_cast<HANDLE>(thread), INFINITE);
    CloseHandle(static_cast<HANDLE>(thread));
    closeStreamWake();
}

bool platformOpenFile(const char* folder, const char* name, void** file, uint32_t* size) {
    cFile* f = new (std::nothrow) cFile;
    if (!f) return false;
    if (!f->Open(folder, name)) {
        delete f;
        return false;
    }
    *file = f;
    *size = f->Size();
    return true;
}

bool platformReadFile(void* file, void* destination, uint32_t bytes) {
    return static_cast<cFile*>(file)->Read(destination, bytes);
}

void platformCloseFile(void* file) { delete static_cast<cFile*>(file); }

const SoundPlatform kDirectSoundPlatform = {
    platformCreateBuffer, platformReleaseBuffer, platformStartThread, platformJoinThread,
    platformOpenFile,     platformReadFile,      platformCloseFile,
};
}  // namespace

bool initSound() {
    setSoundPlatform(&kDirectSoundPlatform);
    applySoundVolumes();
    createDirectSound();
    setSoundWindow(gMainWindow);
    return true;
}

void shutdownSound() {
    stopSE();
    stopVoice();
    stopEnv(false);
    stopBGM(false);
    releasePrimaryBuffer();
    releaseDirectSound();
}

bool createDirectSound() {
    releaseDirectSound();
    void* object = nullptr;
    if (FAILED(CoCreateInstance(kClassDirectSound, nullptr, CLSCTX_ALL, kInterfaceDirectSound,
                                &object)) ||
        !object)
        return false;
    gDevice.directSound = static_cast<IDirectSound*>(object);
    // Without an output device the object is of no use: no device, so the game runs silent and
    // the settings dialog disables its sound controls.
    if (FAILED(gDevice.directSound->Initialize(nullptr))) {
        releaseDirectSound();
        return false;
    }
    return true;
}

void releaseDirectSound() {
    if (!gDevice.directSound) return;
    gDevice.directSound->Release();
    gDevice.directSound = nullptr;
}

bool isSoundAvailable() { return gDevice.directSound != nullptr; }

bool setSoundWindow(HWND window) {
    IDirectSound* ds = gDevice.directSound;
    if (!ds) return false;
    if (FAILED(ds->SetCooperativeLevel(window, DSSCL_EXCLUSIVE)) &&
        FAILED(ds->SetCooperativeLevel(window, DSSCL_NORMAL)))
        return false;
    releasePrimaryBuffer();
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
    if (FAILED(ds->CreateSoundBuffer(&desc, &gDevice.primaryBuffer, nullptr)) ||
        !gDevice.primaryBuffer) {
        gDevice.primaryBuffer = nullptr;
        ds->SetCooperativeLevel(window, DSSCL_NORMAL);
        return false;
    }
    WAVEFORMATEX format = pcmFormat(2, 44100);
    if (FAILED(gDevice.primaryBuffer->SetFormat(&format))) return false;
    return SUCCEEDED(gDevice.primaryBuffer->Play(0, 0, DSBPLAY_LOOPING));
}

void resetSoundFocus(HWND window) {
    releasePrimaryBuffer();
    if (gDevice.directSound) gDevice.directSound->SetCooperativeLevel(window, DSSCL_NORMAL);
}

IDirectSoundBuffer* createSoundBuffer(const WAVEFORMATEX* format, uint32_t bytes, bool streaming) {
    if (!gDevice.directSound || !format || bytes == 0) return nullptr;
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = streaming ? kStreamingFlags : kStaticFlags;
    desc.dwBufferBytes = bytes;
    desc.lpwfxFormat = const_cast<WAVEFORMATEX*>(format);
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(gDevice.directSound->CreateSoundBuffer(&desc, &buffer, nullptr))) return nullptr;
    return buffer;
}

DWORD WINAPI bgmStreamThread(void*) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    while (bgmStreamRunning()) {
        refillBGMStream();
        if (gDevice.streamWake) WaitForSingleObject(gDevice.streamWake, kRefillMs);
        else Sleep(kRefillMs);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}
