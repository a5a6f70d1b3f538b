// An etched line or frame, drawn on the parent's background.
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-drawedge
#pragma once

#include "toolkit/win/DrawnControl.h"

namespace tk {

enum class BevelShape { TopLine, BottomLine, Frame };

class Bevel : public DrawnControl {
 public:
  Bevel(Component* owner, Control* parent, BevelShape shape = BevelShape::TopLine);

 protected:
  void Paint(HDC dc, const RECT& client, const RECT& dirty) override;

 private:
  BevelShape shape_;
};

}  // namespace tk
