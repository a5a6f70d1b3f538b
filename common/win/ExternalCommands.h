// Running a command as a process of its own and waiting for it, at most for its bound.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "common/portable/Progress.h"
#include "common/portable/ToolCommand.h"

namespace pub {

// SW_SHOW: the service tools' consoles are shown, as the user would see them run.
constexpr uint16_t kShowWindow = 5;
// SW_HIDE: the command still gets a console of its own, but one without a window. For runs
// nobody watches (an administrator's /S), where a console flashing up on a shared desktop
// could also be closed by whoever sits there, ending the tool half way.
constexpr uint16_t kHideWindow = 0;

// A command that was started and is not yet waited for. Several may run at once. The command
// runs in a job of its own, with every process it starts: when it has not ended by its bound,
// the whole job is ended; when it has, whatever it left running is ended as the job closes.
// The destructor finishes one that Finish was not called for, so none outlives its owner.
class StartedCommand {
 public:
  StartedCommand(std::string commandLine, unsigned boundSeconds, CommandOutcome outcome, void* process, void* job);
  StartedCommand(StartedCommand&& other) noexcept;
  StartedCommand& operator=(StartedCommand&&) = delete;
  StartedCommand(const StartedCommand&) = delete;
  ~StartedCommand();

  // Blocks until the command has ended or its bound, counted from its start, has passed; then
  // it is ended. At once for one that could not start, or was finished before.
  CommandOutcome Finish();
  const std::string& CommandLine() const { return commandLine_; }

 private:
  std::string commandLine_;
  unsigned boundSeconds_;
  uint64_t startedAt_;  // GetTickCount64 at its start
  CommandOutcome outcome_;
  void* process_;  // the process handle, null once finished or when it did not start
  void* job_;      // its job, null when none could be made for it (then it alone is ended)
};

// Starts command.program (a full path: one that is not is refused, never looked up) with
// command.commandLine, in a new console shown with showMode (kHideWindow: a console with no
// window at all), in this program's environment, in command.workingFolder (a full path too),
// and returns without waiting.
StartedCommand StartCommand(const ToolCommand& command, uint16_t showMode);

// StartCommand, then Finish. No window messages run meanwhile.
CommandOutcome RunCommand(const ToolCommand& command, uint16_t showMode);

// RunCommand, and its CommandNote to progress (which may be none).
CommandOutcome RunLogged(const ToolCommand& command, Progress* progress, uint16_t showMode = kShowWindow);

}  // namespace pub
