#include "files/dataFile.h"
#include "files/textBuf.h"

bool cTextBuf::Load(const char* folder, const char* name) {
    Clear();
    cFile file;
    if (!file.Open(folder, name)) return false;
    size_t size = file.Size();
    if (!allocate(size)) return false;
    // A file of size 0 fails here: a read of nothing is a failure.
    if (!file.Read(m_text, size)) {
        Clear();
        return false;
    }
    file.Close();
    m_text[size] = 0;
    split();
    return true;
}
