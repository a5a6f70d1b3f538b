// A control of our own class that draws itself whole: no background erase (the drawing covers
// every pixel), and one Paint call per WM_PAINT with the client rectangle.
#pragma once

#include "toolkit/win/Control.h"

namespace tk {

class DrawnControl : public Control {
 protected:
  DrawnControl(Component* owner, Control* parent) : Control(owner, parent) {}
  virtual void Paint(HDC dc, const RECT& client) = 0;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

}  // namespace tk
