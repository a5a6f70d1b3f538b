#include "setup/ServiceTakedown.h"

namespace setup {

ServiceTakedown::ServiceTakedown(const pub::ServiceRemoval& removal, unsigned stopWaitMs)
    : removal_(removal), stopped_(stoppedPromise_.get_future().share()), removed_(removedPromise_.get_future().share()) {
  thread_ = std::thread([this, stopWaitMs] { Run(stopWaitMs); });
}

ServiceTakedown::~ServiceTakedown() {
  if (thread_.joinable()) thread_.join();
}

void ServiceTakedown::Run(unsigned stopWaitMs) {
  // Nothing here may escape the thread: a failure is an outcome that says it did not start.
  Stopped stopped;
  try {
    stopped.stop = pub::StartCommand("net stop " + removal_.service, pub::kShowWindow).Finish();
    // A service still stopping holds its files open: its folders could not be deleted yet.
    stopped.state = pub::WaitUntilStopped(removal_.service, stopWaitMs);
  } catch (...) {
  }
  stoppedPromise_.set_value(stopped);
  pub::CommandOutcome removed;
  try {
    removed = pub::StartCommand(removal_.removeCommand, pub::kShowWindow, removal_.workingFolder).Finish();
  } catch (...) {
  }
  removedPromise_.set_value(removed);
}

void ServiceTakedown::WaitStopped(pub::Progress* progress) {
  const Stopped& stopped = stopped_.get();
  if (stopReported_) return;
  stopReported_ = true;
  if (!progress) return;
  progress->Note(pub::CommandNote("net stop " + removal_.service, stopped.stop));
  progress->Note("服务 " + removal_.service + "：" + stopped.state.Describe());
}

void ServiceTakedown::WaitRemoved(pub::Progress* progress) {
  WaitStopped(progress);
  const pub::CommandOutcome& removed = removed_.get();
  if (progress) progress->Note(pub::CommandNote(removal_.removeCommand, removed));
}

}  // namespace setup
