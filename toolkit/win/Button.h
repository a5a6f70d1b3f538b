// A push button; its click arrives back here as a reflected BN_CLICKED and runs OnClick.
// https://learn.microsoft.com/windows/win32/controls/buttons
#pragma once

#include <functional>

#include "toolkit/win/Control.h"

namespace tk {

class Button : public Control {
 public:
  Button(Component* owner, Control* parent);
  // Shown with the default button's frame (the form's Enter button).
  void SetDefaultLook(bool isDefault);
  // Presses the button as a click would (nothing when it is disabled).
  void Click();

  std::function<void()> OnClick;

 protected:
  bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

}  // namespace tk
