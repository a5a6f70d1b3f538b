#include "toolkit/win/Colors.h"

#include <map>

namespace tk {

HBRUSH SolidBrush(COLORREF color) {
  static std::map<COLORREF, HBRUSH> brushes;
  HBRUSH& brush = brushes[color];
  if (!brush) brush = CreateSolidBrush(color);
  return brush;
}

}  // namespace tk
