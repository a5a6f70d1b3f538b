// The two runs, as both faces of the program start them: the wizard with its pages as the
// display, an unattended run with none. Each takes every input in its plan (the folders it
// works in and its log among them), writes its start line, steps and result to the run log,
// and returns how it ended. It reads no process-wide values, leaves none behind, and never
// moves the process current folder: every walk and command names its paths in full. Each run's work is done on a worker thread
// (pub::RunOnWorker): the caller's thread keeps its window answering and receives every report
// on display, in order; when a run returns, its worker has ended.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/portable/CommandBounds.h"
#include "setup/portable/RunFolders.h"
#include "common/portable/ExitCode.h"
#include "common/portable/PackageIndex.h"
#include "common/portable/Progress.h"
#include "common/win/Staging.h"
#include "setup/win/UninstallEngine.h"

namespace setup {

// The folders the run works in come first: InstallPlan plan{folders}.
struct InstallPlan : RunFolders {
  std::string folder;  // without a trailing '\'
  // A repair or upgrade of the recorded installation: files changed since it stay.
  bool repair = false;
  // Called once staging has found the package's version, date and products, on the caller's
  // thread.
  std::function<void(const pub::StagingResult& staged)> onStaged;
  // What the record held that could not be read as written (an unknown version ...), for the log.
  std::vector<std::string> recordNotes;
  // How long each service command may run, and the waits for the services and the site.
  pub::CommandBounds bounds;
  // The service commands' consoles: shown, as the wizard shows them, or without a window for
  // a run nobody watches (pub::kHideWindow).
  uint16_t commandShowMode = pub::kShowWindow;
  // The package's index, read once by the caller (ReadSetupPackage), which every step takes;
  // null, or one that could not be read: the run reads it itself.
  std::shared_ptr<const pub::PackageIndex> package;
};

// How a run ended: done, or the reason a person can act on and the exit code it stands for.
struct RunOutcome {
  pub::ExitCode code = pub::ExitCode::Done;
  std::string reason;  // GBK; "" when done

  // Done, also when files wait for the next restart.
  bool Done() const { return code == pub::ExitCode::Done || code == pub::ExitCode::DoneRestartNeeded; }
};

struct InstallOutcome : RunOutcome {
  // This installation owns the system-wide JAVA_HOME: it created it, now or in a run before.
  bool javaHomeOurs = false;
};

struct UninstallOutcome : RunOutcome {
  UninstallEngine::Outcome removal = UninstallEngine::Outcome::NothingRecorded;
  // The removal ran to its end and the record is gone, whether it named anything to remove
  // or not; only Removed counts as done for the exit code.
  bool recordGone = false;
  // Recorded folders stayed behind; the record is kept for another removal.
  bool incomplete = false;
  // Removed, with files that go at the next restart (the code is DoneRestartNeeded then).
  std::vector<std::string> leftForRestart;
};

// Stages the package, installs it into plan.folder and starts its services. A staging folder
// the run made on the install folder's volume is removed before it returns.
InstallOutcome RunInstall(const InstallPlan& plan, pub::Progress& display);

// The staging folder (ending in '\'), once no run needs it: /S removes it after its run, the
// wizard when its window closes (a failed run may be tried again meanwhile).
void RemoveStagingFolder(const std::string& stagingFolder);

struct UninstallPlan : RunFolders {
  // How long each service command may run, and the waits for the services.
  pub::CommandBounds bounds;
  // As InstallPlan's.
  uint16_t commandShowMode = pub::kShowWindow;
};

// Removes the recorded installation.
UninstallOutcome RunUninstall(const UninstallPlan& plan, pub::Progress& display);

// The exit code an error of a run stands for: no room, a missing or damaged package, a port
// held by another program, or a failure whose reason is in the log.
pub::ExitCode ExitCodeFor(const std::exception& error);

}  // namespace setup
