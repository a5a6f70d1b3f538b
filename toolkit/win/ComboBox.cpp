#include "toolkit/win/ComboBox.h"

#include "toolkit/core/CodePage.h"

namespace tk {

ComboBox::ComboBox(Component* owner, Control* parent) : Control(owner, parent) {
  CreateHandle(L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0);
}

void ComboBox::AddItem(const std::string& text) {
  SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
}

int ComboBox::ItemCount() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0)); }

std::string ComboBox::Item(int index) const {
  LRESULT length = SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return std::string();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return FromWide(text);
}

int ComboBox::ItemIndex() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)); }

void ComboBox::SetItemIndex(int index) { SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

}  // namespace tk
