#include "toolkit/win/Panel.h"

namespace tk {

Panel::Panel(Component* owner, Control* parent) : Control(owner, parent) {
  CreateHandle(RegisterOwnClass(L"QuarnPanel", 0, nullptr), WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT);
}

bool Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  if (message != WM_ERASEBKGND) return false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  RECT client;
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, SolidBrush(BackgroundColor()));
  *result = 1;
  return true;
}

}  // namespace tk
