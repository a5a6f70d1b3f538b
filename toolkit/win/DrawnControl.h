// A control of our own class that draws itself whole: no background erase (the drawing covers
// every pixel), one Paint call per WM_PAINT, and the font a window of its own class must keep
// itself (WM_SETFONT and WM_GETFONT). It answers a screen reader itself too (WM_GETOBJECT).
#pragma once

#include "toolkit/win/Accessible.h"
#include "toolkit/win/Control.h"

namespace tk {

class DrawnControl : public Control {
 public:
  // The name a screen reader says (GBK); see AccessibleClient::SetName.
  void SetAccessibleName(const std::string& name) { accessible_.SetName(name); }

 protected:
  DrawnControl(Component* owner, Control* parent) : Control(owner, parent) {}
  // client: the whole client area; dirty: the part that needs drawing.
  virtual void Paint(HDC dc, const RECT& client, const RECT& dirty) = 0;
  // The font the parent gave, or the stock GUI font before it gave one.
  HFONT DrawingFont() const;
  // Called when the font changes, before any repaint it asks for.
  virtual void FontChanged() {}
  // Role, state and value a screen reader is told; a plain client area unless overridden.
  virtual AccessibleDescription DescribeForAccessibility() const { return AccessibleDescription(); }
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  HFONT font_ = nullptr;
  AccessibleClient accessible_{[this] { return DescribeForAccessibility(); }};
};

}  // namespace tk
