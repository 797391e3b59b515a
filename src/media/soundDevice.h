// DirectSound: the device, its cooperative level and primary buffer, the secondary buffers and the
// music streaming thread; the platform side of the sound channels (media/sound.h).
#pragma once
#include <windows.h>
#include <mmreg.h>
#include <dsound.h>

#include <cstdint>

// Installs this platform side, applies the channel settings, creates the device and sets it up on
// the main window. Always true.
bool initSound();
// All four channels stopped (the streaming thread joined), the device released.
void shutdownSound();
// The device of the default output; false when it cannot be made (then nothing plays).
bool createDirectSound();
void releaseDirectSound();
bool isSoundAvailable();
// Exclusive cooperative level (normal when that is refused) and a playing primary buffer of PCM,
// 2 channels, 44100 Hz, 16 bits; false at the first failure.
bool setSoundWindow(HWND window);
// Stops and releases the primary buffer and sets the normal cooperative level on the window (its
// destruction).
void resetSoundFocus(HWND window);
// One secondary buffer: sticky focus, volume control, software mixing, and for streaming the
// precise play cursor. None without a device, format or size.
IDirectSoundBuffer* createSoundBuffer(const WAVEFORMATEX* format, uint32_t bytes, bool streaming);
// The streaming thread: its own COM, a refill every 100 ms while the music runs.
DWORD WINAPI bgmStreamThread(void*);
