// Pictures of what the screen shows, for the demo walk.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Has the window painted, then copies its place on the screen (frame included) into a 24-bit
// BMP file. False when the file cannot be written.
bool SaveWindowShot(HWND window, const std::wstring& bmpPath);

// Where pictures go: $QUARN_SHOT_DIR, or empty when none are wanted.
std::wstring ShotFolder();

}  // namespace e2e
