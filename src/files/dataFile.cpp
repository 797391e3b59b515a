#include "files/dataFile.h"

#include <cstring>

#include "base/uiText.h"
#include "base/debugMessage.h"
#include "files/archiveIndex.h"

void cFile::Close() {
    m_file.Close();
    m_path.clear();
    m_size = 0;
    m_left = 0;
    m_key = 0;
}

bool cFile::ReportError(const char* text) {
    debugMessage(uiText(UiText::FileErrorReport), text ? text : uiText(UiText::FileErrorUnknown),
                 m_path.c_str(), static_cast<int>(m_size), static_cast<unsigned>(m_key));
    return false;
}

bool cFile::Open(const char* folder, const char* name) {
    Close();
    if (!name || !*name) return false;
    const bool absolute = std::strchr(name, ':') != nullptr;

    char joined[kPathMax];
    bool fits = (folder && *folder && !absolute) ? formatPath(joined, "%s\\%s", folder, name)
                                                 : formatPath(joined, "%s", name);
    m_path = fits ? joined : name;
    if (!fits) return ReportError(uiText(UiText::FileErrorCannotOpen));

    char path[kPathMax];
    const cPathNode* entry = absolute ? nullptr : findArchiveEntry(joined);
    if (entry) {
        // Once the index holds the name there is no fallback to a loose file.
        if (!formatPath(path, "%s%s", gDataFolder, entry->archive.c_str()) ||
            !m_file.OpenRead(path) || !m_file.Seek(entry->offset)) {
            m_file.Close();
            return ReportError(uiText(UiText::FileErrorCannotOpen));
        }
        m_size = entry->size;
        m_key = entry->key;
        seedEntryStream(m_stream, m_key);
    } else {
        bool named = absolute ? formatPath(path, "%s", joined)
                              : formatPath(path, "%s%s", gDataFolder, joined);
        if (!named || !m_file.OpenRead(path)) return ReportError(uiText(UiText::FileErrorCannotOpen));
        m_size = m_file.Size();
    }
    m_left = m_size;
    return true;
}

bool cFile::Read(void* buffer, size_t n) {
    if (!buffer || n == 0) return false;
    if (n > m_left) return ReportError(uiText(UiText::FileErrorReadFailed));
    size_t got = 0;
    bool ok = m_file.Read(buffer, n, &got);
    // What did arrive was consumed; the stream stays in step with the file position.
    m_left -= static_cast<uint32_t>(got);
    if (m_key != 0) decipherBytes(buffer, got, m_stream);
    return ok ? true : ReportError(uiText(UiText::FileErrorReadFailed));
}
