#include "setup/win/ServiceTakedown.h"

#include "setup/portable/ServiceCommands.h"
#include "common/win/ExternalCommands.h"
#include "common/win/Services.h"

namespace setup {
namespace {

// An error raised while a command was being started, as the outcome of a command that did not start.
pub::CommandOutcome NotStarted(const std::exception_ptr& error) {
  pub::CommandOutcome outcome;
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& raised) {
    outcome.startProblem = raised.what();
  } catch (...) {
  }
  if (outcome.startProblem.empty()) outcome.startProblem = "未知的错误";
  return outcome;
}

}  // namespace

ServiceTakedown::ServiceTakedown(const pub::ServiceRemoval& removal, const pub::CommandBounds& bounds,
                                 const std::string& systemFolder, uint16_t showMode)
    : removal_(removal),
      stop_(pub::NetCommand(systemFolder, pub::NetVerb::Stop, removal.service, bounds)),
      stopStageSeconds_(bounds.TakedownStopSeconds()),
      takedownSeconds_(bounds.TakedownSeconds(removal.removeCommand.boundSeconds)),
      began_(std::chrono::steady_clock::now()) {
  auto shared = std::make_shared<Shared>(Shared{removal_, stop_, bounds.serviceStateSeconds * 1000, showMode, {}, {}});
  stopped_ = shared->stopped.get_future().share();
  removed_ = shared->removed.get_future().share();
  thread_ = std::thread([shared] { Run(shared); });
}

ServiceTakedown::ServiceTakedown(const std::string& service, const pub::CommandBounds& bounds,
                                 const std::string& systemFolder, uint16_t showMode)
    : ServiceTakedown(pub::ServiceRemoval{service, std::string(), pub::ToolCommand(), false}, bounds, systemFolder,
                      showMode) {}

ServiceTakedown::~ServiceTakedown() {
  if (!thread_.joinable()) return;
  // Once the last promise is kept, the thread only returns.
  if (removed_.wait_for(Left(takedownSeconds_)) == std::future_status::ready)
    thread_.join();
  else
    thread_.detach();
}

std::chrono::milliseconds ServiceTakedown::Left(unsigned seconds) const {
  const auto end = began_ + std::chrono::seconds(seconds);
  const auto now = std::chrono::steady_clock::now();
  return now >= end ? std::chrono::milliseconds(0)
                    : std::chrono::duration_cast<std::chrono::milliseconds>(end - now);
}

void ServiceTakedown::Run(const std::shared_ptr<Shared>& shared) {
  // Nothing here may escape the thread: an error is kept as the outcome it stands for.
  Stopped stopped;
  try {
    stopped.stop = pub::StartCommand(shared->stop, shared->showMode).Finish();
  } catch (...) {
    stopped.stop = NotStarted(std::current_exception());
  }
  try {
    // A service still stopping holds its files open: its folders could not be deleted yet.
    stopped.state = pub::WaitUntilStopped(shared->removal.service, shared->stopWaitMs);
  } catch (const std::exception& error) {
    stopped.state.queryProblem = error.what();
  } catch (...) {
    stopped.state.queryProblem = "未知的错误";
  }
  shared->stopped.set_value(stopped);
  pub::CommandOutcome removed;
  // A stop alone names no command to unregister the service.
  if (!shared->removal.removeCommand.program.empty()) {
    try {
      removed = pub::StartCommand(shared->removal.removeCommand, shared->showMode).Finish();
    } catch (...) {
      removed = NotStarted(std::current_exception());
    }
  }
  shared->removed.set_value(removed);
}

std::string ServiceTakedown::WaitStopped(pub::Progress* progress) {
  if (stopReported_) return stopProblem_;
  stopReported_ = true;
  if (stopped_.wait_for(Left(stopStageSeconds_)) != std::future_status::ready) {
    stopProblem_ = "服务 " + removal_.service + "：停止在 " + std::to_string(stopStageSeconds_) + " 秒内没有结束";
    if (progress) progress->Note(stopProblem_);
    return stopProblem_;
  }
  const Stopped& stopped = stopped_.get();
  const std::string stopNote = pub::CommandNote(stop_.commandLine, stopped.stop);
  if (progress) {
    progress->Note(stopNote);
    progress->Note("服务 " + removal_.service + "：" + stopped.state.Describe());
  }
  // A service that could not be asked about is not taken as stopped.
  if (!stopped.state.Stopped()) {
    stopProblem_ = "服务 " + removal_.service + " 没有停止（" + stopped.state.Describe() + "）";
    if (!stopped.stop.Finished()) stopProblem_ += "\r\n" + stopNote;
  }
  return stopProblem_;
}

void ServiceTakedown::WaitRemoved(pub::Progress* progress) {
  WaitStopped(progress);
  const bool ready = removed_.wait_for(Left(takedownSeconds_)) == std::future_status::ready;
  if (!progress) return;
  const std::string& command = removal_.removeCommand.commandLine;
  if (ready)
    progress->Note(pub::CommandNote(command, removed_.get()));
  else
    progress->Note("命令 " + command + "：在 " + std::to_string(takedownSeconds_) + " 秒内没有结束");
}

}  // namespace setup
