#include "media/oggLoader.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "media/soundPlatform.h"

size_t oggStreamRead(void* destination, size_t elementSize, size_t count, void* source) {
    auto* s = static_cast<cOggStream*>(source);
    if (!s || !s->data || !s->read || elementSize == 0 || !destination) return 0;
    size_t want = count > SIZE_MAX / elementSize ? SIZE_MAX : elementSize * count;
    size_t n = want < s->left ? want : s->left;
    std::memcpy(destination, s->read, n);
    s->read += n;
    s->left -= n;
    return n / elementSize;
}

int oggStreamSeek(void* source, ogg_int64_t offset, int origin) {
    auto* s = static_cast<cOggStream*>(source);
    if (!s || !s->data) return -1;
    const int64_t size = static_cast<int64_t>(s->size);
    const int64_t consumed = size - static_cast<int64_t>(s->left);
    int64_t target;
    switch (origin) {
        case SEEK_SET:
            if (offset < 0 || offset > size) return -1;
            target = offset;
            break;
        case SEEK_CUR:
            if (offset < -consumed || offset > static_cast<int64_t>(s->left)) return -1;
            target = consumed + offset;
            break;
        case SEEK_END:
            if (offset < -size || offset > 0) return -1;
            target = size + offset;
            break;
        default:
            return -1;
    }
    s->read = s->data + target;
    s->left = static_cast<size_t>(size - target);
    return 0;
}

int oggStreamClose(void* source) {
    auto* s = static_cast<cOggStream*>(source);
    if (!s) return 0;
    std::free(s->allocation);
    *s = cOggStream();
    return 0;
}

long oggStreamTell(void* source) {
    auto* s = static_cast<const cOggStream*>(source);
    if (!s) return 0;
    return static_cast<long>(s->size - s->left);
}

int32_t loopTagFrame(const char* text, int64_t frames) {
    if (!text) return 0;
    while (std::isspace(static_cast<unsigned char>(*text))) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > INT32_MAX) return 0;
    }
    if (negative || value >= frames - 1) return 0;
    return static_cast<int32_t>(value);
}

bool cOggLoader::AllocateImage(size_t size) {
    if (size == 0 || size > SIZE_MAX - 7) return false;
    void* allocation = std::malloc(size + 7);
    if (!allocation) return false;
    m_stream.allocation = allocation;
    m_stream.allocationSize = size + 7;
    const uintptr_t aligned = (reinterpret_cast<uintptr_t>(allocation) + 7) & ~uintptr_t(7);
    m_stream.data = reinterpret_cast<uint8_t*>(aligned);
    m_stream.read = m_stream.data;
    m_stream.size = size;
    m_stream.left = size;
    return true;
}

void cOggLoader::FreeImage() { oggStreamClose(&m_stream); }

void cOggLoader::Reset() {
    if (m_open) {
        // Closes the source through the close callback, which frees the image.
        ov_clear(&m_file);
        m_open = false;
    }
    FreeImage();
    m_file = OggVorbis_File();
    m_channels = 0;
    m_rate = 0;
    m_bitstream = 0;
    m_loop = 0;
    m_loopStart = 0;
    m_loopEnd = 0;
    std::free(m_pass.bytes);
    m_pass = KeptPass();
    m_loopSeeks = 0;
}

bool cOggLoader::Open(const char* folder, const char* name) {
    Reset();
    if (!name || !*name) return false;
    const SoundPlatform* platform = getSoundPlatform();
    if (!platform || !platform->openFile || !platform->readFile || !platform->closeFile)
        return false;
    void* file = nullptr;
    uint32_t size = 0;
    if (!platform->openFile(folder, name, &file, &size)) return false;
    const bool read = AllocateImage(size) && platform->readFile(file, m_stream.data, size);
    platform->closeFile(file);
    if (!read) {
        FreeImage();
        return false;
    }
    return OpenImage();
}

bool cOggLoader::OpenMemory(const void* bytes, size_t size) {
    Reset();
    if (!bytes || !AllocateImage(size)) return false;
    std::memcpy(m_stream.data, bytes, size);
    return OpenImage();
}

bool cOggLoader::OpenImage() {
    const ov_callbacks callbacks = {oggStreamRead, oggStreamSeek, oggStreamClose, oggStreamTell};
    if (ov_open_callbacks(&m_stream, &m_file, nullptr, 0, callbacks) < 0) {
        // A failed open leaves the source open: the image is ours to free.
        FreeImage();
        m_file = OggVorbis_File();
        return false;
    }
    m_open = true;
    const vorbis_info* info = ov_info(&m_file, -1);
    if (!info || info->channels < 1 || info->rate < 1 || info->rate > INT32_MAX) {
        Reset();
        return false;
    }
    m_channels = info->channels;
    m_rate = static_cast<int32_t>(info->rate);
    ReadLoopTags();
    return true;
}

void cOggLoader::ReadLoopTags() {
    vorbis_comment* comment = ov_comment(&m_file, -1);
    if (!comment) return;
    const int64_t frames = TotalFrames();
    m_loopStart = loopTagFrame(vorbis_comment_query(comment, "start", 0), frames);
    m_loopEnd = loopTagFrame(vorbis_comment_query(comment, "end", 0), frames);
    // An end that is not after the start would loop nothing: the piece's own end counts instead.
    if (m_loopEnd != 0 && m_loopEnd <= m_loopStart) m_loopEnd = 0;
}

int64_t cOggLoader::TotalFrames() {
    if (!m_open) return 0;
    const ogg_int64_t total = ov_pcm_total(&m_file, -1);
    return total < 0 ? 0 : total;
}

int64_t cOggLoader::Position() {
    if (!m_open) return 0;
    if (m_pass.repeating) return m_loopStart + m_pass.at / (static_cast<int64_t>(m_channels) * 2);
    return ov_pcm_tell(&m_file);
}

void cOggLoader::SetLoop(bool loop) {
    m_loop = loop ? 1 : 0;
    if (loop && !m_pass.bytes)
        m_pass.bytes = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(kLoopPassBytes)));
}

// ov_read of up to `want` bytes; a pass being kept takes a copy.
long cOggLoader::ReadDecoder(char* out, int64_t want) {
    const int chunk = want > INT_MAX ? INT_MAX : static_cast<int>(want);
    long got = 0;
    for (int errors = 0;;) {
        got = ov_read(&m_file, out, chunk, 0, 2, 1, &m_bitstream);
        if (got >= 0) break;
        // A gap in the data is skipped; an error that persists ends the stream.
        if (++errors >= kMaxReadErrors) return 0;
    }
    if (m_pass.recording && got > 0) {
        if (m_pass.size + got <= kLoopPassBytes) {
            std::memcpy(m_pass.bytes + m_pass.size, out, static_cast<size_t>(got));
            m_pass.size += got;
        } else {
            m_pass.recording = false;  // a long loop: it seeks back once a pass
        }
    }
    return got;
}

// Whole frames of the kept pass, up to n bytes; 0 at its end.
long cOggLoader::ReadKeptPass(char* out, int64_t n) {
    const int64_t frameBytes = static_cast<int64_t>(m_channels) * 2;
    int64_t take = m_pass.size - m_pass.at;
    if (take > n) take = n - n % frameBytes;
    std::memcpy(out, m_pass.bytes + m_pass.at, static_cast<size_t>(take));
    m_pass.at += take;
    return static_cast<long>(take);
}

// Back to the loop start: the kept pass again, or a seek (the next pass is kept if it fits).
bool cOggLoader::RestartLoop(bool passEnded) {
    if (m_pass.recording && passEnded && m_pass.size > 0) m_pass.repeating = true;
    if (m_pass.repeating) {
        m_pass.at = 0;
        return true;
    }
    m_pass.recording = false;
    if (ov_pcm_seek(&m_file, m_loopStart) != 0) return false;
    ++m_loopSeeks;
    m_pass.recording = m_pass.bytes != nullptr;
    m_pass.size = 0;
    return true;
}

bool cOggLoader::Decode(void* buffer, int64_t n) {
    if (!buffer || n < 1) return false;
    auto* out = static_cast<char*>(buffer);
    std::memset(out, 0, static_cast<size_t>(n));
    if (!m_open) return false;
    const int64_t frameBytes = static_cast<int64_t>(m_channels) * 2;
    // A seek back that the next read does not follow with sound would loop for ever.
    bool seekedWithoutSound = false;
    while (n > 0) {
        long got = 0;
        // The pass has ended at the loop end, the stream's end or a persistent error, not at a
        // request too small for a frame.
        bool passEnded = true;
        if (m_pass.repeating) {
            got = ReadKeptPass(out, n);
        } else {
            int64_t want = n;
            if (m_loopEnd > 0) {
                const int64_t left =
                    (static_cast<int64_t>(m_loopEnd) - ov_pcm_tell(&m_file)) * frameBytes;
                if (left < want) want = left;
            }
            if (want > 0) got = ReadDecoder(out, want);
            passEnded = want <= 0 || want >= frameBytes;
        }
        if (got == 0) {
            if (!m_loop || seekedWithoutSound) return false;
            if (!RestartLoop(passEnded)) return false;
            seekedWithoutSound = true;
            continue;
        }
        seekedWithoutSound = false;
        out += got;
        n -= got;
    }
    return true;
}
