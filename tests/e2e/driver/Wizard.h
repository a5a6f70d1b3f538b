// The wizard window of a running setup.exe, seen from outside: its button bar, the page on
// show, the install-folder box and the choices. Captions and texts are GBK.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/driver/Wait.h"

namespace e2e {

// The wizard window's class and caption (the caption ends in a blank).
constexpr const wchar_t* kWizardClass = L"QuarnForm";
extern const char* const kWizardCaption;

// The shown wizard window of a process; null while there is none.
HWND FindWizard(DWORD processId);

class Wizard {
 public:
  // Waits for the process's wizard window; Found() tells whether it came.
  explicit Wizard(DWORD processId, unsigned timeoutMs = kWindowWait);

  bool Found() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  // Still there and shown.
  bool Shown() const;

  // The bar's three buttons, left to right: Back, Next, Exit. Next and Exit can both read
  // "退出", so they are told apart by place, as a person does.
  HWND BackButton() const { return BarButton(0); }
  HWND NextButton() const { return BarButton(1); }
  HWND ExitButton() const { return BarButton(2); }
  std::string NextCaption() const;

  void Next() const;
  void Back() const;
  void Exit() const;

  // Whether a shown label reads exactly `text` (page titles tell the pages apart).
  bool ShowsLabel(const std::string& text) const;
  bool WaitForLabel(const std::string& text, unsigned timeoutMs = kWindowWait) const;
  // The shown labels, for failure messages.
  std::vector<std::string> Labels() const;

  // A shown radio button by its caption ("&A 我接受本协议条款").
  HWND Choice(const std::string& caption) const;
  void Choose(const std::string& caption) const;
  bool Chosen(const std::string& caption) const;

  // The install-folder box and its "..." button.
  HWND FolderBox() const;
  HWND FolderPickerButton() const;
  std::string Folder() const;
  // Clicks into the box and types the text over what it holds.
  void TypeFolder(const std::string& text) const;
  void TypeFolder(const std::wstring& text) const;

  // Waits until Next reads `caption` and can be pressed.
  bool WaitForNext(const std::string& caption, unsigned timeoutMs = kWindowWait) const;

 private:
  HWND BarButton(int place) const;

  HWND window_ = nullptr;
};

}  // namespace e2e
