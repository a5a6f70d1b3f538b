// Helpers for in-process tests under Wine: an application object, recorded message boxes,
// a folder of one's own, and a look at what a window shows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/win/Application.h"
#include "toolkit/win/Dialogs.h"

namespace testing_support {

struct RecordedBox {
  tk::MessageKind kind;
  std::string text;  // GBK
};

// Records every message box and answers from a script (Yes / Ok when the script runs out).
class BoxRecorder {
 public:
  BoxRecorder();
  ~BoxRecorder();
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  void Script(std::vector<tk::MessageAnswer> answers) { answers_ = std::move(answers); }
  const std::vector<RecordedBox>& Boxes() const { return boxes_; }
  void Clear() { boxes_.clear(); }

 private:
  std::vector<RecordedBox> boxes_;
  std::vector<tk::MessageAnswer> answers_;
  tk::MessageAnswerer previous_;
};

// Removes a folder with everything in it, read-only files too.
void RemoveTree(const std::string& gbkPath);

// A fresh, empty folder under the temporary folder, removed with everything in it afterwards.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // GBK path ending in '\'.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The client area of a window as 32-bit BGRX pixels, copied from the screen.
struct Capture {
  int width = 0, height = 0;
  std::vector<unsigned> pixels;
  unsigned At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  // Writes a 24-bit BMP; for screenshots of tests.
  bool SaveBmp(const std::string& utf8Path) const;
};
Capture CaptureClient(HWND window);
// The whole window with its frame, as it shows on the screen.
Capture CaptureWindow(HWND window);

// Handles pending messages for a while, so windows paint and posted work runs.
void PumpMessages(int milliseconds = 50);

// The threads of this process that carry that name (SetThreadDescription), or -1 where the
// system keeps no thread names.
int ThreadsNamed(const wchar_t* name);

// Where tests may leave screenshots: $QUARN_SHOT_DIR, or empty.
std::string ShotFolder();

}  // namespace testing_support
