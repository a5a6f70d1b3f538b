#include "toolkit/win/DrawnControl.h"

namespace tk {

HFONT DrawnControl::DrawingFont() const {
  return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool DrawnControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      FontChanged();
      if (LOWORD(lParam)) InvalidateRect(hwnd_, nullptr, FALSE);
      return true;
    case WM_GETFONT:
      *result = reinterpret_cast<LRESULT>(font_);
      return true;
    case WM_GETOBJECT:
      return accessible_.Answer(hwnd_, wParam, lParam, result);
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd_, &paint);
      RECT client;
      GetClientRect(hwnd_, &client);
      Paint(dc, client, paint.rcPaint);
      EndPaint(hwnd_, &paint);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace tk
