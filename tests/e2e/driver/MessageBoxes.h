// The system's message boxes of another program: found as dialog windows ("#32770") of its
// process, read by their text, answered by the caption of a button.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct MessageBoxView {
  HWND window = nullptr;
  std::string title;                 // GBK
  std::string text;                  // GBK, as shown
  std::vector<std::string> buttons;  // captions without their accelerators: "确定", "是", "否"
  bool hasIcon = false;
};

// The message boxes a process shows now.
std::vector<MessageBoxView> OpenMessageBoxes(DWORD processId);

// Waits for a box of the process; `found` is set when one came.
bool WaitForMessageBox(DWORD processId, MessageBoxView* found, unsigned timeoutMs);

// Presses the button with that caption ("确定", "是", "否") and waits until the box is gone.
// False when the box has no such button or does not close.
bool Answer(const MessageBoxView& box, const std::string& buttonCaption);

// A caption as a person reads it: "是(&Y)" and "&Yes" read "是" and "Yes".
std::string WithoutAccelerator(const std::string& gbkCaption);

}  // namespace e2e
