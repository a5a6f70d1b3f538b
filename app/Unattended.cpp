#include "app/Unattended.h"

#include <windows.h>

#include "app/SingleInstance.h"
#include "app/StartUp.h"
#include "common/portable/ProcessValues.h"
#include "common/portable/UnattendedInstallPlan.h"
#include "common/win/FileTree.h"
#include "common/win/LogProgress.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/Dialogs.h"
#include "ui/CurrentFolder.h"
#include "ui/InstallEngine.h"
#include "ui/InstallationRecord.h"
#include "ui/LoggedRun.h"
#include "ui/UninstallEngine.h"

namespace app {
namespace {

// No box may wait for a person who is not there: what a box would say goes to the log.
class BoxesToLog {
 public:
  BoxesToLog() {
    previous_ = tk::SetMessageAnswerer([this](tk::MessageKind, const std::string& text) {
      said_ += (said_.empty() ? "" : "\r\n") + text;
      return tk::MessageAnswer::No;  // a question is answered no: nothing is done unasked
    });
  }
  ~BoxesToLog() { tk::SetMessageAnswerer(previous_); }
  const std::string& Said() const { return said_; }

 private:
  tk::MessageAnswerer previous_;
  std::string said_;
};

// A run that ends before its engine starts: one start line, the reason, the exit code.
pub::ExitCode EndEarly(pub::RunAction action, const std::string& reason, pub::ExitCode code) {
  pub::RunLogFile file(pub::Process().LogPath);
  pub::RunLog log(file);
  log.Started(pub::Now(), action, std::string(), std::string());
  log.StepFailed(pub::Now(), action == pub::RunAction::Uninstall ? pub::RunStep::Remove : pub::RunStep::Stage, reason);
  log.Finished(pub::Now(), code);
  return code;
}

}  // namespace

pub::ExitCode RunUnattendedInstall(const pub::CommandLine& commandLine) {
  BoxesToLog boxes;
  SingleInstance instance;
  if (!instance.IsFirst())
    return EndEarly(pub::RunAction::Install, "另一个安装程序正在运行。", pub::ExitCode::AlreadyRunning);
  if (!FixWorkingFolders()) return EndEarly(pub::RunAction::Install, boxes.Said(), pub::ExitCode::Failed);
  ui::RecordedInstallation recorded = ui::ReadRecordedInstallation();
  pub::UnattendedInstallPlan plan = pub::PlanUnattendedInstall(recorded.exists, recorded.folder, commandLine.folder);
  if (!plan.error.empty()) return EndEarly(pub::RunAction::Install, plan.error, pub::ExitCode::BadCommandLine);

  pub::ExitCode result = pub::ExitCode::Done;
  {
    ui::LoggedRun logged(plan.repair ? pub::RunAction::Repair : pub::RunAction::Install, recorded.version, plan.folder);
    // The walks leave the current folder inside the staging folder; it is given back so the
    // staging folder can go at the end.
    ui::CurrentFolder runFolder;
    try {
      ui::InstallEngine engine(plan.folder, logged.Log());
      engine.keepChangedFiles = plan.repair;
      engine.Run();
    } catch (const std::exception& error) {
      result = ui::ExitCodeFor(error);
    }
    runFolder.RestoreQuietly();
    logged.Finish(result);
  }
  const std::string& staging = pub::Process().StagingFolder;
  if (tk::FolderExists(staging)) pub::DeleteFolderTree(staging, nullptr);
  return result;
}

pub::ExitCode RunUnattendedUninstall() {
  BoxesToLog boxes;
  SingleInstance instance;
  if (!instance.IsFirst())
    return EndEarly(pub::RunAction::Uninstall, "另一个安装程序正在运行。", pub::ExitCode::AlreadyRunning);
  FixWorkingFolders();  // only for where the log goes: the removal needs neither folder
  ui::RecordedInstallation recorded = ui::ReadRecordedInstallation();
  ui::LoggedRun logged(pub::RunAction::Uninstall, recorded.version, recorded.folder);
  pub::ExitCode result = pub::ExitCode::Failed;
  try {
    ui::UninstallEngine engine(&logged.Log(), false);
    if (engine.Run() == ui::UninstallEngine::Outcome::Removed) result = pub::ExitCode::Done;
  } catch (const ui::UninstallIncomplete&) {
    // The engine has logged what stays and why.
  } catch (const std::exception& error) {
    logged.Log().Outcome(pub::RunStep::Remove, false, error.what());
  }
  logged.Finish(result);
  return result;
}

}  // namespace app
