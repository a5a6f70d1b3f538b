#include "app/Unattended.h"

#include "app/SingleInstance.h"
#include "app/StartUp.h"
#include "setup/portable/UnattendedInstallPlan.h"
#include "common/portable/VersionOrder.h"
#include "setup/win/LogProgress.h"
#include "common/win/PackageLocation.h"
#include "common/win/ExternalCommands.h"
#include "setup/win/InstallationRecord.h"
#include "setup/win/LoggedRun.h"
#include "setup/win/Runs.h"
#include "setup/win/SetupPackage.h"
#include "toolkit/core/CodePage.h"

namespace app {
namespace {

// A run that ends before it starts: one start line, the reason, the exit code.
pub::ExitCode EndEarly(pub::RunAction action, const std::string& reason, pub::ExitCode code) {
  setup::LoggedRun logged(action, std::string(), std::string(), SettledFolders());
  logged.Log().Outcome(action == pub::RunAction::Uninstall ? pub::RunStep::Remove : pub::RunStep::Stage, false,
                       reason);
  logged.Finish(code);
  return code;
}

constexpr const char* kAlreadyRunning = "另一个安装程序正在运行。";

}  // namespace

pub::ExitCode RunUnattendedInstall(const pub::CommandLine& commandLine) {
  SingleInstance instance;
  if (!instance.IsFirst()) return EndEarly(pub::RunAction::Install, kAlreadyRunning, pub::ExitCode::AlreadyRunning);
  const std::wstring problem = SettleWorkingFolders();
  if (!problem.empty()) return EndEarly(pub::RunAction::Install, tk::FromWide(problem), pub::ExitCode::Failed);
  const pub::InstallationRecordReading recorded = setup::ReadInstallationRecord();
  const pub::UnattendedInstallPlan plan = pub::PlanUnattendedInstall(recorded, commandLine.folder);
  if (!plan.Ok()) return EndEarly(pub::RunAction::Install, plan.error, pub::ExitCode::BadCommandLine);
  std::vector<std::string> notes = recorded.notes;
  // Read once: the downgrade judgement takes its version, the run its index.
  const std::shared_ptr<const pub::PackageIndex> package =
      setup::ReadSetupPackage(pub::LocatePackage(SettledFolders().setupFolder));
  if (plan.repair) {
    const pub::DowngradeDecision downgrade =
        pub::JudgeUnattendedDowngrade(package->version, recorded.version, commandLine.allowDowngrade);
    if (downgrade.refused) return EndEarly(pub::RunAction::Repair, downgrade.note, pub::ExitCode::Downgrade);
    if (!downgrade.note.empty()) notes.push_back(downgrade.note);
  }
  setup::InstallPlan run{SettledFolders()};
  run.folder = plan.folder;
  run.repair = plan.repair;
  run.recordNotes = notes;
  run.package = package;
  // Nobody watches: the service tools' consoles get no window.
  run.commandShowMode = pub::kHideWindow;
  pub::NoDisplay none;
  const pub::ExitCode code = setup::RunInstall(run, none).code;
  setup::RemoveStagingFolder(run.stagingFolder);
  return code;
}

pub::ExitCode RunUnattendedUninstall() {
  SingleInstance instance;
  if (!instance.IsFirst()) return EndEarly(pub::RunAction::Uninstall, kAlreadyRunning, pub::ExitCode::AlreadyRunning);
  SettleWorkingFolders();  // only for where the log goes: the removal needs neither folder
  setup::UninstallPlan run{SettledFolders()};
  run.commandShowMode = pub::kHideWindow;
  pub::NoDisplay none;
  return setup::RunUninstall(run, none).code;
}

}  // namespace app
