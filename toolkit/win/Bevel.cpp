#include "toolkit/win/Bevel.h"

namespace tk {

Bevel::Bevel(Component* owner, Control* parent) : DrawnControl(owner, parent) {
  CreateHandle(RegisterOwnClass(L"QuarnBevel", CS_HREDRAW | CS_VREDRAW, nullptr), 0, WS_EX_TRANSPARENT);
}

void Bevel::Paint(HDC dc, const RECT& client, const RECT&) {
  RECT area = client;
  FillRect(dc, &area, SolidBrush(BackgroundColor()));
  DrawEdge(dc, &area, EDGE_ETCHED, BF_TOP);
}

}  // namespace tk
