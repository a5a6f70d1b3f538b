// An etched line along the top edge, drawn on the parent's background.
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-drawedge
#pragma once

#include "toolkit/win/DrawnControl.h"

namespace tk {

class Bevel : public DrawnControl {
 public:
  Bevel(Component* owner, Control* parent);

 protected:
  void Paint(HDC dc, const RECT& client, const RECT& dirty) override;
  // Decoration only: screen readers pass over it.
  AccessibleDescription DescribeForAccessibility() const override {
    return {ROLE_SYSTEM_SEPARATOR, STATE_SYSTEM_INVISIBLE, nullptr};
  }
};

}  // namespace tk
