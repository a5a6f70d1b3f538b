#include "toolkit/win/Button.h"

namespace tk {

Button::Button(Component* owner, Control* parent) : Control(owner, parent) {
  CreateHandle(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0);
}

void Button::SetDefaultLook(bool isDefault) {
  SendMessageW(hwnd_, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void Button::Click() {
  if (Enabled() && OnClick) OnClick();
}

bool Button::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
  Click();
  *result = 0;
  return true;
}

}  // namespace tk
