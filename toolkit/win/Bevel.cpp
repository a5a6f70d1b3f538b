#include "toolkit/win/Bevel.h"

namespace tk {

Bevel::Bevel(Component* owner, Control* parent, BevelShape shape) : DrawnControl(owner, parent), shape_(shape) {
  CreateHandle(RegisterOwnClass(L"QuarnBevel", CS_HREDRAW | CS_VREDRAW, nullptr), 0, WS_EX_TRANSPARENT);
}

void Bevel::Paint(HDC dc, const RECT& client, const RECT&) {
  RECT area = client;
  FillRect(dc, &area, SolidBrush(BackgroundColor()));
  UINT sides = shape_ == BevelShape::TopLine ? BF_TOP : shape_ == BevelShape::BottomLine ? BF_BOTTOM : BF_RECT;
  DrawEdge(dc, &area, EDGE_ETCHED, sides);
}

}  // namespace tk
