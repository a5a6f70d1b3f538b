// Lead-byte-aware scanning of GBK (code page 936) texts. A lead byte is 0x81..0xFE and takes
// the next byte with it; that trail byte may be 0x5C ('\') and is then no separator.
#pragma once

#include <string>

namespace pub {

inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Position of the last single-byte character of text that is one of delimiters, or npos.
size_t LastDelimiter(const std::string& text, const std::string& delimiters);

// How many characters text holds: a lead byte and the byte after it are one, as Windows counts
// them once converted.
size_t GbkCharacterCount(const std::string& text);

}  // namespace pub
