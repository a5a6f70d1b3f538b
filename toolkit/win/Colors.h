// Background colours shared by a control and the controls drawn on it, and solid brushes for
// them, made once per colour and kept for the life of the program.
#pragma once

#include <windows.h>

namespace tk {

constexpr COLORREF kInheritColor = CLR_INVALID;
constexpr COLORREF kMaroon = RGB(0x80, 0, 0);
constexpr COLORREF kRed = RGB(0xFF, 0, 0);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kBlue = RGB(0, 0, 0xFF);
constexpr COLORREF kNavy = RGB(0, 0, 0x80);

HBRUSH SolidBrush(COLORREF color);

}  // namespace tk
