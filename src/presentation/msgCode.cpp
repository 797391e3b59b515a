#include "presentation/msgCode.h"

#include <cstring>

#include "graphics/text/leadByte.h"

MsgCode gKinsokuTable[kKinsokuTableSize];

namespace {
MsgCode markupCode(uint8_t byte) {
    switch (byte) {
        case '@': return kMsgPause;
        case '/': return kMsgNewLine;
        case '>': return kMsgFaster;
        case '<': return kMsgSlower;
        case '|': return kMsgRubyBase;
        case '(': return kMsgRubyOn;
        case ')': return kMsgRubyOff;
        case '[': return kMsgEmphasisOn;
        case ']': return kMsgEmphasisOff;
        case '{': return kMsgNoDelayOn;
        case '}': return kMsgNoDelayOff;
        default: return 0;
    }
}
}  // namespace

void appendMsgCodes(std::vector<MsgCode>& codes, const char* text) {
    if (!text) return;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(text);
    while (*p) {
        uint8_t byte = *p++;
        if (isLeadByte(byte)) {
            MsgCode code = byte * 256u + *p;
            if (*p) ++p;
            codes.push_back(code);
        } else if (byte == '\\') {
            codes.push_back(*p);
            if (*p) ++p;
        } else if (MsgCode markup = markupCode(byte)) {
            codes.push_back(markup);
        } else {
            codes.push_back(byte);
        }
    }
}

void msgPlainText(const std::vector<MsgCode>& codes, vstring& out) {
    out.clear();
    std::vector<char> bytes;
    bool skip = false;
    for (MsgCode code : codes) {
        if (code == kMsgRubyOn) {
            skip = true;
        } else if (code == kMsgNewLine) {
            bytes.push_back('\n');
        } else if (code > 0x10000) {
            if (code <= kMsgNoDelayOff) skip = false;
        } else if (code < 0x10000 && !skip && code != 0) {
            if (code >> 8) bytes.push_back(static_cast<char>(code >> 8));
            bytes.push_back(static_cast<char>(code & 0xFF));
        }
    }
    out.Assign(bytes.data(), bytes.size());
}

uint8_t charClass(MsgCode c) {
    return (c >= 0x829F && c <= 0x82F1) || (c >= 0x8340 && c <= 0x8396) ||
                   (c >= 0x8260 && c <= 0x8279) || (c >= 0x8281 && c <= 0x829A) ||
                   (c >= 0x824F && c <= 0x8258) || (c >= 0x8140 && c <= 0x8156) ||
                   (c >= 0x8160 && c <= 0x817A)
               ? 1
               : 0;
}

void buildKinsokuTable(MsgCode (&table)[kKinsokuTableSize], const char* characters) {
    std::memset(table, 0, sizeof table);
    const uint8_t* p = reinterpret_cast<const uint8_t*>(characters ? characters : "");
    for (int i = 0; i < kKinsokuTableSize - 1 && p[0] && p[1]; ++i, p += 2) table[i] = p[0] * 256u + p[1];
}

bool isKinsokuChar(MsgCode code) {
    for (int i = 0; i < kKinsokuTableSize && gKinsokuTable[i]; ++i)
        if (gKinsokuTable[i] == code) return true;
    return false;
}
