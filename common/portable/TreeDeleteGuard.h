// The paths that a recursive delete refuses outright, judged on the text alone: nothing may
// ever empty a whole drive or share, or climb out of the folder it was given.
#pragma once

#include <string>

namespace pub {

// True for an empty path, a bare "\" or ".", a drive ("X:", "X:\"), a UNC server or share
// root ("\\server", "\\server\share\"), a device root ("\\?\X:\", "\\?\UNC\server\share"),
// and any path with a component made only of dots and blanks other than "." (such as "..",
// which Windows would resolve upwards, or " ", which it would strip to nothing).
// Both '\' and '/' separate; a trail byte 0x5C of a double-byte character does not.
bool IsRefusedTreeDeletePath(const std::string& path);

}  // namespace pub
