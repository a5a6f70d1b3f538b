#include "toolkit/win/Edit.h"

namespace tk {

Edit::Edit(Component* owner, Control* parent) : Control(owner, parent) {
  CreateHandle(L"EDIT", ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP, WS_EX_CLIENTEDGE);
}

}  // namespace tk
