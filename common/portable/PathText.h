// Small path and character helpers over GBK (code page 936) byte strings.
#pragma once

#include <string>

namespace pub {

// Overwrites every byte equal to from with to. Byte by byte on purpose: callers swap '/' and
// '\' in names, and the trail byte of a double-byte character is replaced like any other.
void ReplaceChar(char from, char to, std::string& text);

// The text after the last '\' that is a character of its own (a trail byte 0x5C is none);
// empty when there is no separator or the path ends in one.
std::string LastPathComponent(const std::string& path);

// The path without one trailing '\'; a trail byte 0x5C of a double-byte character is none.
std::string WithoutTrailingBackslash(const std::string& path);

}  // namespace pub
