// Message text as codes: one 32-bit code per character (a double-byte character as lead byte x 256
// + trail byte, a single byte as itself, the markup characters as 0x10001 to 0x1000B), the plain
// text of a message, the character classes and the characters that may not begin a line.
#pragma once
#include <cstdint>
#include <vector>

#include "base/vstring.h"

using MsgCode = uint32_t;

enum : MsgCode {
    kMsgPause = 0x10001,       // "@": 40 units pass with nothing drawn
    kMsgNewLine = 0x10002,     // "/"
    kMsgFaster = 0x10003,      // ">"
    kMsgSlower = 0x10004,      // "<"
    kMsgRubyBase = 0x10005,    // "|": start of a ruby base
    kMsgRubyOn = 0x10006,      // "(": the reading follows
    kMsgRubyOff = 0x10007,     // ")"
    kMsgEmphasisOn = 0x10008,  // "["
    kMsgEmphasisOff = 0x10009, // "]"
    kMsgNoDelayOn = 0x1000A,   // "{"
    kMsgNoDelayOff = 0x1000B,  // "}"
};

// Appends the codes of the text: markup bytes become their codes, "\" takes the next byte as an
// ordinary code (a trailing "\" gives code 0), a lead byte takes the next byte with it unless that
// is the terminating NUL.
void appendMsgCodes(std::vector<MsgCode>& codes, const char* text);

// The codes as plain text: markup dropped, "/" as a line feed, a ruby reading dropped from its "("
// up to the next markup code other than "/".
void msgPlainText(const std::vector<MsgCode>& codes, vstring& out);

// 1 for kana, full-width letters and digits and the punctuation rows (Shift-JIS code ranges, the
// same numbers in both configurations), 0 otherwise.
uint8_t charClass(MsgCode code);

// The characters that may not begin a line: up to 100 codes, ended by 0.
constexpr int kKinsokuTableSize = 100;
extern MsgCode gKinsokuTable[kKinsokuTableSize];
// Fills the table from a double-byte string (each pair of bytes one code, up to a zero byte).
void buildKinsokuTable(MsgCode (&table)[kKinsokuTableSize], const char* characters);
bool isKinsokuChar(MsgCode code);
