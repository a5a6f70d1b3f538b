// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-messageboxw
#include "tests/e2e/driver/MessageBoxes.h"

#include <algorithm>

#include "tests/e2e/driver/Input.h"
#include "tests/e2e/driver/Wait.h"
#include "tests/e2e/driver/WindowQuery.h"

namespace e2e {
namespace {

MessageBoxView Read(HWND window) {
  MessageBoxView box;
  box.window = window;
  box.title = TextOf(window);
  for (HWND child : Descendants(window)) {
    std::wstring cls = ClassOf(child);
    if (_wcsicmp(cls.c_str(), L"Static") == 0) {
      if (GetWindowLongW(child, GWL_STYLE) & SS_ICON) {
        DWORD_PTR icon = 0;
        if (IsShown(child) && SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon) && icon)
          box.hasIcon = true;
        continue;
      }
      // The message is the longest text; the icon holder has none.
      std::string text = TextOf(child);
      if (text.size() > box.text.size()) box.text = text;
    } else if (_wcsicmp(cls.c_str(), L"Button") == 0 && IsShown(child)) {
      box.buttons.push_back(WithoutAccelerator(TextOf(child)));
    }
  }
  return box;
}

}  // namespace

std::string WithoutAccelerator(const std::string& gbkCaption) {
  // A trailing "(&Y)" goes whole, a lone '&' alone ('&' is never the second byte of a GBK pair).
  std::string caption = gbkCaption;
  size_t open = caption.rfind("(&");
  if (open != std::string::npos && caption.size() == open + 4 && caption.back() == ')') caption.erase(open);
  caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
  return caption;
}

std::vector<MessageBoxView> OpenMessageBoxes(DWORD processId) {
  std::vector<MessageBoxView> boxes;
  for (HWND window : TopLevelWindows(processId, L"#32770")) boxes.push_back(Read(window));
  return boxes;
}

bool WaitForMessageBox(DWORD processId, MessageBoxView* found, unsigned timeoutMs) {
  return WaitUntil(
      [&] {
        std::vector<MessageBoxView> boxes = OpenMessageBoxes(processId);
        // A box is ready once its buttons and text exist.
        if (boxes.empty() || boxes.front().buttons.empty() || boxes.front().text.empty()) return false;
        *found = boxes.front();
        return true;
      },
      timeoutMs);
}

bool Answer(const MessageBoxView& box, const std::string& buttonCaption) {
  for (HWND child : Descendants(box.window, L"Button"))
    if (IsShown(child) && WithoutAccelerator(TextOf(child)) == buttonCaption) {
      Click(child);
      return WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
    }
  return false;
}

}  // namespace e2e
