// A container filled with its background colour. Keyboard navigation goes into it
// (WS_EX_CONTROLPARENT).
#pragma once

#include "toolkit/win/Control.h"

namespace tk {

class Panel : public Control {
 public:
  Panel(Component* owner, Control* parent);

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

}  // namespace tk
