// The uninstall run of the uninstall page: the engine shown on the page's gauge and label, and
// the page's words for how it ended.
#include "common/win/ControlsProgress.h"
#include "toolkit/win/Dialogs.h"
#include "common/portable/ProcessValues.h"
#include "common/win/LogProgress.h"
#include "ui/LoggedRun.h"
#include "ui/SetupMainForm.h"
#include "ui/UninstallEngine.h"

namespace ui {

void TfSetupMainForm::RunUninstall() {
  // None of these once the uninstall page has been released.
  pub::ControlsProgress shown(Gauge2, Label37, nullptr);
  LoggedRun logged(pub::RunAction::Uninstall, Label32 ? Label32->Caption() : std::string(), Edit1->Text());
  pub::TeeProgress progress(shown, logged.Log());
  UninstallEngine engine(&progress, HadSetJAVA_HOME);
  struct KeepFlag {
    TfSetupMainForm& form;
    UninstallEngine& engine;
    ~KeepFlag() { form.HadSetJAVA_HOME = engine.HadSetJavaHome(); }
  } keepFlag{*this, engine};
  UninstallEngine::Outcome outcome;
  try {
    outcome = engine.Run();
  } catch (const std::exception& error) {
    logged.Finish(pub::ExitCode::Failed);
    progress.Flush();
    if (dynamic_cast<const UninstallIncomplete*>(&error) && Label37)
      Label37->SetCaption("Quarn系统没有完全卸载，有文件夹无法删除。");
    throw;
  }
  const bool removed = outcome == UninstallEngine::Outcome::Removed;
  logged.Finish(removed ? pub::ExitCode::Done : pub::ExitCode::Failed);
  pub::Process().RemovalResult = removed ? 0 : 1;
  progress.Flush();
  if (outcome == UninstallEngine::Outcome::Removed) {
    if (Label37) Label37->SetCaption("Quarn系统卸载成功!");
  } else if (outcome == UninstallEngine::Outcome::NoUsableFolder) {
    if (Label37) Label37->SetCaption(kNoUsableFolderText);
    tk::ShowPlain(kNoUsableFolderText);
  }
}

}  // namespace ui
