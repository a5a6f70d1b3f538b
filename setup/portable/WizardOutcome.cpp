#include "setup/portable/WizardOutcome.h"

namespace pub {

void WizardOutcome::RunEnded(ExitCode code) {
  lastRun_ = code;
  // Files waiting for the restart still wait after any later run.
  if (code == ExitCode::DoneRestartNeeded) restartNeeded_ = true;
}

ExitCode WizardOutcome::Code() const {
  if (stoppedAtStart_) return *stoppedAtStart_;
  if (!lastRun_) return ExitCode::UserCancelled;
  if (*lastRun_ != ExitCode::Done && *lastRun_ != ExitCode::DoneRestartNeeded) return *lastRun_;
  return restartNeeded_ ? ExitCode::DoneRestartNeeded : ExitCode::Done;
}

}  // namespace pub
