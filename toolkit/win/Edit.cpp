#include "toolkit/win/Edit.h"

#include "toolkit/core/CodePage.h"

namespace tk {

Edit::Edit(Component* owner, Control* parent) : Control(owner, parent) {
  CreateHandle(L"EDIT", ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP, WS_EX_CLIENTEDGE);
}

bool Edit::TextIsGbk() const {
  std::string gbk;
  return FromWideChecked(WideCaption(), &gbk);
}

void Edit::SetWideText(const std::wstring& text) {
  if (hwnd_) SetWindowTextW(hwnd_, text.c_str());
}

}  // namespace tk
