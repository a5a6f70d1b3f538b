// Under Wine the shell hands a web address to winebrowser, which starts the first program of
// HKCU\Software\Wine\WineBrowser\Browsers. For a test that program is a one-line shell command
// that writes the address to a file, so no real browser starts on the machine and the test
// can read which address the shell was asked to open. On Windows itself nothing is changed.
#pragma once

#include <string>

namespace e2e {

class BrowserRecorder {
 public:
  // Records into `file` (a Windows path).
  explicit BrowserRecorder(const std::wstring& file);
  // Puts the previous browser setting back.
  ~BrowserRecorder();
  BrowserRecorder(const BrowserRecorder&) = delete;
  BrowserRecorder& operator=(const BrowserRecorder&) = delete;

  // False outside Wine: addresses then go to the real default browser.
  bool Active() const { return active_; }
  // The addresses opened so far, one a line.
  std::string Opened() const;

 private:
  std::wstring file_;
  bool active_ = false;
  bool hadSetting_ = false;
  std::wstring previous_;
};

}  // namespace e2e
