#include "setup/win/Runs.h"

#include "common/win/FileTree.h"
#include "setup/win/LogProgress.h"
#include "common/win/PackageLocation.h"
#include "common/win/WorkerRun.h"
#include "setup/win/InstallEngine.h"
#include "setup/win/InstallationRecord.h"
#include "setup/win/LoggedRun.h"
#include "setup/win/MsiRegistration.h"
#include "setup/win/SetupPackage.h"
#include "toolkit/core/FileStream.h"

namespace setup {
namespace {

// A failure without words of its own still tells the user that nothing was completed.
std::string ReasonOf(const std::exception& error) {
  const std::string reason = error.what();
  return reason.empty() ? "安装没有完成。" : reason;
}

}  // namespace

pub::ExitCode ExitCodeFor(const std::exception& error) {
  if (dynamic_cast<const NotEnoughSpace*>(&error)) return pub::ExitCode::DiskFull;
  if (dynamic_cast<const PackageProblem*>(&error)) return pub::ExitCode::PackageProblem;
  if (dynamic_cast<const PortTaken*>(&error)) return pub::ExitCode::PortTaken;
  return pub::ExitCode::Failed;
}

namespace {

// The install run itself, on the worker: display is the queue to the caller's thread.
InstallOutcome InstallApart(const InstallPlan& plan, pub::ProgressQueue& display) {
  InstallOutcome outcome;
  {
    // The package is read once; every step of the run takes its index. One found wanting
    // before is looked at again: it may have been put right meanwhile.
    std::shared_ptr<const pub::PackageIndex> package = plan.package;
    if (!package || !package->Usable()) package = ReadSetupPackage(pub::LocatePackage(plan.setupFolder));
    LoggedRun logged(plan.repair ? pub::RunAction::Repair : pub::RunAction::Install, package->version, plan.folder,
                     plan);
    for (const std::string& note : plan.recordNotes) logged.Log().Note(note);
    pub::TeeProgress progress(display, logged.Log());
    InstallEngine engine(plan.folder, plan.stagingFolder, package, progress);
    engine.keepChangedFiles = plan.repair;
    engine.bounds = plan.bounds;
    engine.commandShowMode = plan.commandShowMode;
    // What staging found is the caller's to show, on its own thread, in its place among the
    // reports.
    if (plan.onStaged)
      engine.onStaged = [&plan, &display](const pub::StagingResult& staged) {
        display.Later([&plan, staged] { plan.onStaged(staged); });
      };
    try {
      engine.Run();
    } catch (const std::exception& error) {
      outcome.code = ExitCodeFor(error);
      outcome.reason = ReasonOf(error);
    }
    outcome.javaHomeOurs = engine.HadSetJavaHome();
    // A staging folder on the install folder's volume holds little once its files were moved;
    // nothing of it is left on a volume the user chose for the installation.
    if (engine.StagingFolder() != plan.stagingFolder) RemoveStagingFolder(engine.StagingFolder());
    logged.Finish(outcome.code);
    progress.Flush();
  }
  return outcome;
}

}  // namespace

InstallOutcome RunInstall(const InstallPlan& plan, pub::Progress& display) {
  InstallOutcome outcome;
  pub::RunOnWorker([&](pub::ProgressQueue& queued) { outcome = InstallApart(plan, queued); }, display);
  return outcome;
}

void RemoveStagingFolder(const std::string& stagingFolder) {
  if (!stagingFolder.empty() && tk::FolderExists(stagingFolder)) pub::DeleteFolderTree(stagingFolder, nullptr);
}

namespace {

// The removal itself, on the worker: display is the queue to the caller's thread.
UninstallOutcome UninstallApart(const UninstallPlan& plan, pub::Progress& display) {
  UninstallOutcome outcome;
  outcome.code = pub::ExitCode::Failed;
  const pub::InstallationRecordReading recorded = ReadInstallationRecord();
  LoggedRun logged(pub::RunAction::Uninstall, recorded.version, recorded.folder, plan);
  // What the record holds that could not be read as written, before anything is done with it.
  if (!recorded.damage.empty()) logged.Log().Note(recorded.damage);
  for (const std::string& note : recorded.notes) logged.Log().Note(note);
  pub::TeeProgress progress(display, logged.Log());
  try {
    UninstallEngine engine(&progress);
    engine.bounds = plan.bounds;
    engine.commandShowMode = plan.commandShowMode;
    outcome.removal = engine.Run(recorded);
    outcome.recordGone = outcome.removal != UninstallEngine::Outcome::Refused;
    outcome.leftForRestart = engine.LeftForRestart();
    if (outcome.removal == UninstallEngine::Outcome::Removed)
      outcome.code = outcome.leftForRestart.empty() ? pub::ExitCode::Done : pub::ExitCode::DoneRestartNeeded;
    // What was wrong with the record, then what became of it.
    if (outcome.removal == UninstallEngine::Outcome::NoUsableFolder)
      outcome.reason = recorded.damage.empty() ? std::string(kNoUsableFolderText)
                                               : recorded.damage + "\r\n" + kNoUsableFolderText;
    // Nothing was done, as for a command line that asks for what this program will not do.
    if (outcome.removal == UninstallEngine::Outcome::Refused) {
      outcome.code = pub::ExitCode::BadCommandLine;
      outcome.reason = engine.Refusal();
    }
    // With the record gone, an MSI that installed it is unregistered too; a registration that
    // stays is a removal not done.
    if (outcome.recordGone) {
      const std::string msiLeft = UnregisterInstallingMsi(progress);
      if (!msiLeft.empty()) {
        logged.Log().Outcome(pub::RunStep::Remove, false, msiLeft);
        outcome.code = pub::ExitCode::Failed;
        outcome.reason = outcome.reason.empty() ? msiLeft : outcome.reason + "\r\n" + msiLeft;
      }
    }
  } catch (const UninstallIncomplete& error) {
    // The engine has logged what stays and why.
    outcome.incomplete = true;
    outcome.reason = error.what();
  } catch (const std::exception& error) {
    logged.Log().Outcome(pub::RunStep::Remove, false, error.what());
    outcome.reason = error.what();
  }
  logged.Finish(outcome.code);
  progress.Flush();
  return outcome;
}

}  // namespace

UninstallOutcome RunUninstall(const UninstallPlan& plan, pub::Progress& display) {
  UninstallOutcome outcome;
  pub::RunOnWorker([&](pub::ProgressQueue& queued) { outcome = UninstallApart(plan, queued); }, display);
  return outcome;
}

}  // namespace setup
