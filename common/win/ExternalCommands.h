// Running a command line as a process of its own and waiting for it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

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

// A command that was started and is not yet waited for. Several may run at once; the
// destructor waits for one that Finish was not called for, so none outlives its owner.
class StartedCommand {
 public:
  StartedCommand(std::string commandLine, CommandOutcome outcome, void* process)
      : commandLine_(std::move(commandLine)), outcome_(outcome), process_(process) {}
  StartedCommand(StartedCommand&& other) noexcept;
  StartedCommand& operator=(StartedCommand&&) = delete;
  StartedCommand(const StartedCommand&) = delete;
  ~StartedCommand();

  // Blocks until the command has ended (at once for one that could not start).
  CommandOutcome Finish();
  const std::string& CommandLine() const { return commandLine_; }

 private:
  std::string commandLine_;
  CommandOutcome outcome_;
  void* process_;  // the process handle, null once finished or when it did not start
};

// Starts the command line (GBK; the program is its first token, looked up by the system's
// usual rules, the current directory among them) in a new console shown with showMode, in
// this program's environment, in workingFolder (GBK; "" for this program's current
// directory), and returns without waiting.
StartedCommand StartCommand(const std::string& commandLine, uint16_t showMode, const std::string& workingFolder = "");

// StartCommand, then blocks until the command has ended. No window messages run meanwhile.
CommandOutcome RunCommand(const std::string& commandLine, uint16_t showMode);

// What became of a command, as the run log's line: "命令 <command line>：<outcome>".
std::string CommandNote(const std::string& commandLine, const CommandOutcome& outcome);

// RunCommand, and its CommandNote to progress (which may be none).
CommandOutcome RunLogged(const std::string& commandLine, Progress* progress);

// RunCommand's exit code, or 0 when the command could not be started, for callers that only
// start a command and go on whatever it says.
uint32_t RunAndWait(const std::string& commandLine, uint16_t showMode);

}  // namespace pub
