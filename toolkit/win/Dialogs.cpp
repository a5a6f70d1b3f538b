// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-messageboxw
#include "toolkit/win/Dialogs.h"

#include <windows.h>

#include "toolkit/core/CodePage.h"

namespace tk {
namespace {

MessageAnswerer& Answerer() {
  static MessageAnswerer answerer;
  return answerer;
}

// The active window of this thread, so the box is modal to the program's window in front.
HWND OwnerWindow() {
  HWND active = GetActiveWindow();
  return active && IsWindowVisible(active) ? active : nullptr;
}

MessageAnswer ShowBox(MessageKind kind, const std::wstring& text) {
  UINT type = MB_OK;
  const char* caption = "信息";
  if (kind == MessageKind::Error) {
    type = MB_OK | MB_ICONERROR;
    caption = "错误";
  } else if (kind == MessageKind::Warning) {
    type = MB_YESNO | MB_ICONWARNING;
    caption = "警告";
  }
  HWND owner = OwnerWindow();
  if (!owner) type |= MB_TASKMODAL;  // still modal to every window of the program
  int answer = MessageBoxW(owner, text.c_str(), ToWide(caption).c_str(), type);
  switch (answer) {
    case IDYES:
      return MessageAnswer::Yes;
    case IDNO:
      return MessageAnswer::No;
    case IDCANCEL:
      return MessageAnswer::Cancel;
    default:
      return MessageAnswer::Ok;
  }
}

}  // namespace

MessageAnswerer SetMessageAnswerer(MessageAnswerer answerer) {
  MessageAnswerer previous = std::move(Answerer());
  Answerer() = std::move(answerer);
  return previous;
}

MessageAnswer ShowMessage(MessageKind kind, const std::string& text) {
  if (Answerer()) return Answerer()(kind, text);
  return ShowBox(kind, ToWide(text));
}

MessageAnswer ShowMessage(MessageKind kind, const std::wstring& text) {
  if (Answerer()) return Answerer()(kind, FromWide(text));
  return ShowBox(kind, text);
}

}  // namespace tk
