// Running a command line as a process of its own and waiting for it.
#pragma once

#include <cstdint>
#include <string>

#include "common/portable/Progress.h"

namespace pub {

// SW_SHOW: the service tools' consoles are shown, as the user would see them run.
constexpr uint16_t kShowWindow = 5;

// What became of a command: whether it started (and the system's reason when not) and the
// exit code it ended with.
struct CommandOutcome {
  bool started = false;
  uint32_t startError = 0;
  uint32_t exitCode = 0;
  // For the run log: "exit code 0", or why it could not be started.
  std::string Describe() const;
};

// Starts the command line (GBK; the program is its first token, looked up by the system's
// usual rules, the current directory among them) in a new console shown with showMode, in
// this program's environment and current directory, and blocks until it has ended. No window
// messages run meanwhile.
CommandOutcome RunCommand(const std::string& commandLine, uint16_t showMode);

// RunCommand, and what became of the command as a line of the run log (progress may be none).
CommandOutcome RunLogged(const std::string& commandLine, Progress* progress);

// RunCommand's exit code, or 0 when the command could not be started, for callers that only
// start a command and go on whatever it says.
uint32_t RunAndWait(const std::string& commandLine, uint16_t showMode);

}  // namespace pub
