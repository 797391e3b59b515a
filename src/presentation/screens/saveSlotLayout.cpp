// The layout of slot files, computed only: names, header texts and the check of a whole file.
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/littleEndian.h"
#include "files/saveStream.h"
#include "graphics/graphics.h"
#include "graphics/image.h"
#include "graphics/resample.h"
#include "graphics/text/leadByte.h"
#include "presentation/screens/saveSlots.h"

namespace {
// Records laid back to back from the start to exactly the end: u32 name length, name, u32 size,
// data. Calls back with each record's name and data. A name length the stream's reader stops at
// (none, or beyond its limit) fails, so every record of a file that passes is read.
template <typename Visit>
bool recordsEndExactly(const uint8_t* bytes, uint64_t size, Visit visit) {
    uint64_t p = 0;
    while (p < size) {
        if (size - p < 4) return false;
        const uint64_t nameLength = getLE32(bytes + p);
        if (nameLength == 0 || nameLength > kMaxSaveNameLength) return false;
        if (size - p - 4 < nameLength + 4) return false;
        const char* name = reinterpret_cast<const char*>(bytes + p + 4);
        const uint64_t dataSize = getLE32(bytes + p + 4 + nameLength);
        const uint64_t data = p + 8 + nameLength;
        if (size - data < dataSize) return false;
        if (!visit(name, static_cast<size_t>(nameLength), bytes + data, dataSize)) return false;
        p = data + dataSize;
    }
    return true;
}

// Whether a record's name is the section name as the stream's reader keys it: up to its first
// NUL, without regard to ASCII case.
bool sameName(const char* a, size_t length, const char* b) {
    if (const void* nul = std::memchr(a, 0, length))
        length = static_cast<size_t>(static_cast<const char*>(nul) - a);
    if (std::strlen(b) != length) return false;
    for (size_t i = 0; i < length; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}
}  // namespace

bool saveSlotFileName(int32_t slot, char (&out)[16]) {
    out[0] = 0;
    if (slot < 0 || slot >= kSaveSlotCount) return false;
    std::snprintf(out, sizeof out, "savedata.%03d", static_cast<int>(slot));
    return true;
}

void formatSaveDate(const LocalTime& t, char (&out)[256]) {
    std::snprintf(out, sizeof out, "%04d/%02d/%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
}

void formatChapterText(const char* date, const char* name, char (&out)[256]) {
    char joined[1024];
    const size_t length = static_cast<size_t>(std::snprintf(joined, sizeof joined, "%s %s",
                                                            date ? date : "", name ? name : ""));
    // Whole characters only: a double-byte character that would not fit is left out.
    size_t keep = 0;
    const size_t limit = sizeof out - 1;
    for (size_t i = 0; i < length && i < sizeof joined - 1;) {
        size_t width = isLeadByte(static_cast<uint8_t>(joined[i])) && joined[i + 1] ? 2 : 1;
        if (i + width > limit) break;
        i += width;
        keep = i;
    }
    std::memcpy(out, joined, keep);
    std::memset(out + keep, 0, sizeof out - keep);
}

bool slotFileLoadable(const uint8_t* bytes, size_t size, const char* const* readSections,
                      size_t readCount, size_t requiredCount) {
    if (!bytes || size < sizeof(SaveSlotHeader) || size > kMaxSlotFileBytes) return false;
    if (requiredCount > readCount) return false;
    const uint8_t* body = bytes + sizeof(SaveSlotHeader);
    const uint64_t bodySize = size - sizeof(SaveSlotHeader);
    std::vector<bool> found(readCount, false);
    // Every record of the master stream is a section; one that is read is itself a stream of
    // records.
    const auto anyRecord = [](const char*, size_t, const uint8_t*, uint64_t) { return true; };
    const bool whole = recordsEndExactly(
        body, bodySize, [&](const char* name, size_t length, const uint8_t* data, uint64_t dataSize) {
            bool read = false;
            for (size_t i = 0; i < readCount; ++i)
                if (sameName(name, length, readSections[i])) found[i] = read = true;
            return !read || recordsEndExactly(data, dataSize, anyRecord);
        });
    if (!whole) return false;
    for (size_t i = 0; i < requiredCount; ++i)
        if (!found[i]) return false;
    return true;
}

void fillSaveHeader(SaveSlotHeader& header, const LocalTime& time, int32_t deathCount,
                    const char* chapterDate, const char* chapterName, const char* memo,
                    const cImage& scene) {
    std::memset(&header, 0, sizeof header);
    header.fileTimeLow = static_cast<uint32_t>(time.fileTime);
    header.fileTimeHigh = static_cast<uint32_t>(time.fileTime >> 32);
    header.deathCount = deathCount;
    formatSaveDate(time, header.dateText);
    formatChapterText(chapterDate, chapterName, header.chapterText);
    if (memo) std::strncpy(header.memo, memo, sizeof header.memo - 1);

    // The 104 by 78 picture of the composed scene in a white frame.
    cSprite picture;
    if (!picture.Create(3, kThumbnailWidth, kThumbnailHeight)) return;
    std::memset(picture.pixels, 0, static_cast<size_t>(picture.ByteCount()));
    resampleImageBox(picture, scene);
    const Rgb white = {255, 255, 255};
    gGraphics.FillRect(picture, white, 0, 0, kThumbnailWidth, 1);
    gGraphics.FillRect(picture, white, 0, 0, 1, kThumbnailHeight);
    gGraphics.FillRect(picture, white, 0, kThumbnailHeight - 1, kThumbnailWidth, 1);
    gGraphics.FillRect(picture, white, kThumbnailWidth - 1, 0, 1, kThumbnailHeight);
    for (int32_t y = 0; y < kThumbnailHeight; ++y)
        std::memcpy(header.thumbnail + static_cast<size_t>(y) * kThumbnailWidth * 3,
                    picture.pixels + static_cast<size_t>(y) * picture.pitch * 3, kThumbnailWidth * 3);
}
