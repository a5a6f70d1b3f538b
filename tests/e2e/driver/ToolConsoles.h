// How the service tools a run starts got their consoles, for as long as the object lives: the
// stand-in tools started meanwhile (by this process's children) note "<tool>: shown" or
// "<tool>: no window" in a file (tools/standins/TestNotes.h).
#pragma once

#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/driver/Files.h"

namespace e2e {

class ToolConsoles {
 public:
  // file: where the tools note their consoles; made anew.
  explicit ToolConsoles(std::wstring file) : file_(std::move(file)) {
    DeleteFileW(file_.c_str());
    SetEnvironmentVariableW(kVariable, file_.c_str());
  }
  ~ToolConsoles() { SetEnvironmentVariableW(kVariable, nullptr); }
  ToolConsoles(const ToolConsoles&) = delete;
  ToolConsoles& operator=(const ToolConsoles&) = delete;

  // The notes so far, a line each; the notes read are taken, so that the next call gives
  // only the tools started after this one.
  std::vector<std::string> Take() {
    std::vector<std::string> notes;
    std::istringstream lines(FileBytes(file_));
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) notes.push_back(line);
    }
    DeleteFileW(file_.c_str());
    return notes;
  }

 private:
  static constexpr const wchar_t* kVariable = L"QUARN_STANDIN_CONSOLES";
  std::wstring file_;
};

}  // namespace e2e
