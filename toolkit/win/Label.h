// A static text. Its caption is repainted at once when set, since long runs write their steps
// into labels without returning to the message loop. '&' is shown as it is.
// https://learn.microsoft.com/windows/win32/controls/static-controls
#pragma once

#include "toolkit/win/Control.h"

namespace tk {

class Label : public Control {
 public:
  Label(Component* owner, Control* parent);
  void SetCaption(const std::string& caption) override;

 protected:
  bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

}  // namespace tk
