// Ogg Vorbis decoding of a whole file held in memory, with the loop points of its comments
// "start" and "end" (in sample frames).
#pragma once
#include <cstddef>
#include <cstdint>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

// The memory source the decoder reads: the file image, its read position and what is left.
struct cOggStream {
    void* allocation = nullptr;  // the raw allocation: the file size plus 7 spare bytes
    size_t allocationSize = 0;
    uint8_t* data = nullptr;  // the allocation aligned up to a multiple of 8
    const uint8_t* read = nullptr;
    size_t size = 0;  // file size
    size_t left = 0;  // bytes not yet read
};

// The decoder's callbacks over a cOggStream.
// Copies min(elementSize x count, bytes left) bytes; the number of whole elements copied.
size_t oggStreamRead(void* destination, size_t elementSize, size_t count, void* source);
// From the start (offset 0 to size), the current position (-consumed to left) or the end (-size
// to 0); 0 on success, -1 (nothing moves) outside those bounds or for an unknown origin.
int oggStreamSeek(void* source, ogg_int64_t offset, int origin);
// Frees the image and empties the source.
int oggStreamClose(void* source);
long oggStreamTell(void* source);

class cOggLoader {
public:
    cOggLoader() = default;
    cOggLoader(const cOggLoader&) = delete;
    cOggLoader& operator=(const cOggLoader&) = delete;
    ~cOggLoader() { Reset(); }

    // Reads the data file folder\name whole and opens it.
    bool Open(const char* folder, const char* name);
    // Opens a copy of a file image.
    bool OpenMemory(const void* bytes, size_t size);
    // Fills n bytes of 16-bit little-endian PCM (zeroed first). A looping piece plays to its loop
    // end (or its last frame) and goes on from its loop start as often as the buffer needs; a
    // piece that does not loop leaves the rest silent and returns false. False also when nothing
    // is open or a seek back to the loop start yields no sound. A loop of at most kLoopPassBytes
    // is decoded once after its first seek back and then repeated from memory, so that a loop of
    // a frame or two costs no more than a long one.
    bool Decode(void* buffer, int64_t n);
    // Closes the decoder, frees the image, clears the loop data.
    void Reset();

    bool IsOpen() const { return m_open; }
    int32_t Channels() const { return m_channels; }
    int32_t Rate() const { return m_rate; }
    // Sample frames of the whole stream (0 when unknown).
    int64_t TotalFrames();
    // The current sample frame (inside the loop while a kept pass repeats).
    int64_t Position();
    // Looping also takes the memory of a short loop's pass (none when it cannot be had: such a
    // loop then seeks back once a pass).
    void SetLoop(bool loop);
    // Seeks back to the loop start since the file was opened.
    int64_t LoopSeeks() const { return m_loopSeeks; }
    int32_t LoopStart() const { return m_loopStart; }
    int32_t LoopEnd() const { return m_loopEnd; }

    // Consecutive read errors taken as the end of the stream.
    static constexpr int kMaxReadErrors = 32;
    // The longest pass of a loop kept in memory.
    static constexpr int64_t kLoopPassBytes = 65536;

private:
    bool AllocateImage(size_t size);
    void FreeImage();
    bool OpenImage();
    void ReadLoopTags();
    long ReadDecoder(char* out, int64_t want);
    long ReadKeptPass(char* out, int64_t n);
    bool RestartLoop(bool passEnded);

    int32_t m_channels = 0;
    int32_t m_rate = 0;
    cOggStream m_stream;
    OggVorbis_File m_file = {};
    int m_bitstream = 0;
    uint8_t m_loop = 0;
    int32_t m_loopStart = 0;  // 0: not set
    int32_t m_loopEnd = 0;
    bool m_open = false;
    // The pass that follows a seek back to the loop start, as the decoder gave it: kept while it
    // fits, and once it has ended whole, every later pass is a copy of it.
    struct KeptPass {
        uint8_t* bytes = nullptr;  // kLoopPassBytes, taken by SetLoop
        int64_t size = 0;          // bytes of the pass so far
        bool recording = false;    // the decoder is in a pass that still fits
        bool repeating = false;    // passes come from the bytes
        int64_t at = 0;            // the next byte to repeat
    } m_pass;
    int64_t m_loopSeeks = 0;
};

// A loop tag's value as a frame, or 0 (not set) when it is negative, beyond 32 bits, or at or past
// the last of the stream's frames. Read as a decimal number like atol.
int32_t loopTagFrame(const char* text, int64_t frames);
