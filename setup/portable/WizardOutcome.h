// What the wizard tells whoever started it when it ends, from the runs the user made: a person
// may try a run several times, go back, or leave before anything was changed.
#pragma once

#include <optional>

#include "common/portable/ExitCode.h"

namespace pub {

class WizardOutcome {
 public:
  // A run (install, repair or removal) ended with code: Done, DoneRestartNeeded, or why it failed.
  void RunEnded(ExitCode code);
  // The wizard could offer no page to go on with (Setup.pak missing): it ends with code.
  void StoppedAtStart(ExitCode code) { stoppedAtStart_ = code; }

  // The last run decides: its failure, or success (with a restart still needed when any run
  // left files for it); UserCancelled when no run ended at all.
  ExitCode Code() const;

 private:
  std::optional<ExitCode> stoppedAtStart_;
  std::optional<ExitCode> lastRun_;
  bool restartNeeded_ = false;
};

}  // namespace pub
