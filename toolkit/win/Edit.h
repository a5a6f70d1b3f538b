// A one-line text box. Its text is the control's caption.
// https://learn.microsoft.com/windows/win32/controls/edit-controls
#pragma once

#include "toolkit/win/Control.h"

namespace tk {

class Edit : public Control {
 public:
  Edit(Component* owner, Control* parent);
  std::string Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }
};

}  // namespace tk
