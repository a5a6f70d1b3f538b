// A radio button. The radio buttons with the same parent form one group: checking one clears
// the others. OnClick runs when the user (or Click) checks it.
// https://learn.microsoft.com/windows/win32/controls/button-types-and-styles#radio-buttons
#pragma once

#include <functional>

#include "toolkit/win/Control.h"

namespace tk {

class RadioButton : public Control {
 public:
  RadioButton(Component* owner, Control* parent);

  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  void Click();

  std::function<void()> OnClick;

 protected:
  bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  bool checked_ = false;
};

}  // namespace tk
