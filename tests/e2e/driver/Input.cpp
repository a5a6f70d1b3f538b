// https://learn.microsoft.com/windows/win32/controls/bm-click
#include "tests/e2e/driver/Input.h"

#include "toolkit/core/CodePage.h"

namespace e2e {

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void ClickAt(HWND control, int x, int y) {
  LPARAM point = MAKELPARAM(x, y);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(control, WM_LBUTTONUP, 0, point);
}

void TypeOver(HWND edit, const std::string& gbk) { TypeOver(edit, tk::ToWide(gbk)); }

void TypeOver(HWND edit, const std::wstring& text) {
  PostMessageW(edit, EM_SETSEL, 0, -1);
  for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
}

void PressKey(HWND target, UINT virtualKey) {
  UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (scanCode << 16));
  PostMessageW(target, WM_KEYUP, virtualKey, 1 | (scanCode << 16) | (3u << 30));
}

}  // namespace e2e
