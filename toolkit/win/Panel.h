// A container filled with its background colour; optionally framed by a raised edge. Keyboard
// navigation goes into it (WS_EX_CONTROLPARENT).
#pragma once

#include "toolkit/win/Control.h"

namespace tk {

class Panel : public Control {
 public:
  Panel(Component* owner, Control* parent, bool raisedEdge = false);

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  bool raisedEdge_;
};

}  // namespace tk
