// An etched line or frame, drawn on the parent's background.
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-drawedge
#pragma once

#include "toolkit/win/Control.h"

namespace tk {

enum class BevelShape { TopLine, BottomLine, Frame };

class Bevel : public Control {
 public:
  Bevel(Component* owner, Control* parent, BevelShape shape = BevelShape::TopLine);

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  BevelShape shape_;
};

}  // namespace tk
