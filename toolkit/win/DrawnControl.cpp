#include "toolkit/win/DrawnControl.h"

namespace tk {

bool DrawnControl::HandleMessage(UINT message, WPARAM, LPARAM, LRESULT* result) {
  *result = message == WM_ERASEBKGND ? 1 : 0;
  if (message == WM_ERASEBKGND) return true;
  if (message != WM_PAINT) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  RECT client;
  GetClientRect(hwnd_, &client);
  Paint(dc, client);
  EndPaint(hwnd_, &paint);
  return true;
}

}  // namespace tk
