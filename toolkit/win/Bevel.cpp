#include "toolkit/win/Bevel.h"

namespace tk {

Bevel::Bevel(Component* owner, Control* parent, BevelShape shape) : Control(owner, parent), shape_(shape) {
  CreateHandle(RegisterOwnClass(L"QuarnBevel", CS_HREDRAW | CS_VREDRAW, nullptr), 0, WS_EX_TRANSPARENT);
}

bool Bevel::HandleMessage(UINT message, WPARAM, LPARAM, LRESULT* result) {
  if (message == WM_ERASEBKGND) {
    *result = 1;
    return true;
  }
  if (message != WM_PAINT) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  RECT client;
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, SolidBrush(BackgroundColor()));
  UINT sides = shape_ == BevelShape::TopLine ? BF_TOP : shape_ == BevelShape::BottomLine ? BF_BOTTOM : BF_RECT;
  DrawEdge(dc, &client, EDGE_ETCHED, sides);
  EndPaint(hwnd_, &paint);
  *result = 0;
  return true;
}

}  // namespace tk
