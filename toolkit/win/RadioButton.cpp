#include "toolkit/win/RadioButton.h"

namespace tk {

RadioButton::RadioButton(Component* owner, Control* parent) : Control(owner, parent) {
  CreateHandle(L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP, 0);
}

void RadioButton::SetChecked(bool checked) {
  checked_ = checked;
  SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!checked || !Parent()) return;
  for (Control* sibling : Parent()->Controls())
    if (auto* radio = dynamic_cast<RadioButton*>(sibling); radio && radio != this && radio->checked_)
      radio->SetChecked(false);
}

void RadioButton::Click() {
  if (!Enabled()) return;
  SetChecked(true);
  if (OnClick) OnClick();
}

bool RadioButton::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) return AnswerColor(wParam, result);
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
  Click();
  *result = 0;
  return true;
}

}  // namespace tk
