#include "toolkit/core/DpiScale.h"

namespace tk {

int ScaleToDpi(int designLength, int dpi) {
  const long long product = static_cast<long long>(designLength) * dpi;
  const long long half = product < 0 ? -kDesignDpi / 2 : kDesignDpi / 2;
  return static_cast<int>((product + half) / kDesignDpi);
}

LayoutRect ScaleToDpi(const LayoutRect& design, int dpi) {
  const int left = ScaleToDpi(design.left, dpi), top = ScaleToDpi(design.top, dpi);
  return LayoutRect{left, top, ScaleToDpi(design.left + design.width, dpi) - left,
                    ScaleToDpi(design.top + design.height, dpi) - top};
}

int PictureScaleFor(int dpi, const int* scales, size_t count) {
  if (count == 0) return 100;
  for (size_t i = 0; i < count; ++i)
    if (static_cast<long long>(scales[i]) * kDesignDpi >= static_cast<long long>(dpi) * 100) return scales[i];
  return scales[count - 1];
}

}  // namespace tk
