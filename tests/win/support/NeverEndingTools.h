// The stand-in service tools' test switch, for as long as the object lives: every stand-in
// this process starts to register or remove a service never ends, and leaves its process id in
// a file, so that a test can show that nothing of it is left running once a run has ended it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

class NeverEndingTools {
 public:
  // pidFile: where the tools leave their process ids.
  explicit NeverEndingTools(const std::string& pidFile);
  ~NeverEndingTools();
  NeverEndingTools(const NeverEndingTools&) = delete;
  NeverEndingTools& operator=(const NeverEndingTools&) = delete;

  // The tools that were started, by process id.
  std::vector<DWORD> Started() const;
  // The ids of those still running a few seconds after the question (their end may still be
  // under way); ends them, so that a failed test leaves none behind.
  std::vector<DWORD> StillRunning() const;

 private:
  std::string pidFile_;
};

}  // namespace testing_support
