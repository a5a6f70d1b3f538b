// The arithmetic of display scale. Layouts and pictures are designed at 96 dots per inch and
// shown at the window's DPI; everything here is plain integers, tested natively.
#pragma once

#include <cstddef>

namespace tk {

constexpr int kDesignDpi = 96;

// A length of the design at dpi, rounded to the nearest pixel (halves away from zero, as
// MulDiv rounds).
int ScaleToDpi(int designLength, int dpi);

// A rectangle as a layout row gives it: position and size.
struct LayoutRect {
  int left, top, width, height;
};

// The rectangle at dpi. Its edges are scaled, not its size, so controls that touch in the
// design still touch at any scale and controls apart stay apart.
LayoutRect ScaleToDpi(const LayoutRect& design, int dpi);

// Of the scales (percent, ascending) a picture is drawn at, the one to show at dpi: the
// smallest that is at least as large as the display's scale, so a picture is scaled down,
// never up; the largest when the display's scale is above them all.
int PictureScaleFor(int dpi, const int* scales, size_t count);

template <size_t N>
int PictureScaleFor(int dpi, const int (&scales)[N]) {
  return PictureScaleFor(dpi, scales, N);
}

}  // namespace tk
