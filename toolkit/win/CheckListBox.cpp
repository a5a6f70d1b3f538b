#include "toolkit/win/CheckListBox.h"

#include <windowsx.h>

#include "toolkit/core/CodePage.h"

namespace tk {
namespace {
constexpr int kBoxWidth = 16;
}

CheckListBox::CheckListBox(Component* owner, Control* parent) : Control(owner, parent) {
  CreateHandle(L"LISTBOX", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
               WS_EX_CLIENTEDGE);
}

void CheckListBox::Add(const std::string& text) {
  items_.push_back({text, false});
  SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
}

void CheckListBox::Clear() {
  items_.clear();
  SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
}

void CheckListBox::SetChecked(int index, bool checked) {
  items_.at(static_cast<size_t>(index)).checked = checked;
  RECT item;
  if (SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != LB_ERR)
    InvalidateRect(hwnd_, &item, FALSE);
}

void CheckListBox::Toggle(int index) {
  if (index >= 0 && index < Count()) SetChecked(index, !Checked(index));
}

bool CheckListBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_CHAR && wParam == L' ') {
    Toggle(static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)));
    *result = 0;
    return true;
  }
  if (message == WM_LBUTTONDOWN && GET_X_LPARAM(lParam) < kBoxWidth) {
    DWORD hit = static_cast<DWORD>(SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, lParam));
    if (!HIWORD(hit)) Toggle(LOWORD(hit));
  }
  return false;
}

bool CheckListBox::HandleReflected(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  if (message != WM_DRAWITEM) return false;
  auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  *result = TRUE;
  if (draw->itemID == static_cast<UINT>(-1) || draw->itemID >= items_.size()) return true;
  const Entry& entry = items_[draw->itemID];
  RECT box = draw->rcItem, text = draw->rcItem;
  box.right = box.left + kBoxWidth;
  text.left = box.right + 2;
  bool selected = draw->itemState & ODS_SELECTED;
  FillRect(draw->hDC, &draw->rcItem, GetSysColorBrush(COLOR_WINDOW));
  InflateRect(&box, -2, -1);
  DrawFrameControl(draw->hDC, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (entry.checked ? DFCS_CHECKED : 0));
  FillRect(draw->hDC, &text, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(draw->hDC, TRANSPARENT);
  SetTextColor(draw->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextW(draw->hDC, ToWide(entry.text).c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (draw->itemState & ODS_FOCUS) DrawFocusRect(draw->hDC, &text);
  return true;
}

}  // namespace tk
