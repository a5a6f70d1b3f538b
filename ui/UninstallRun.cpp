// The uninstall run of the uninstall page: the run shown on the page's gauge and label, and the
// page's words for how it ended.
#include "common/win/ControlsProgress.h"
#include "toolkit/win/Dialogs.h"
#include "ui/SetupMainForm.h"

namespace ui {

setup::UninstallOutcome TfSetupMainForm::RunUninstall() {
  // None of these once the uninstall page has been released.
  pub::ControlsProgress shown(Gauge2, Label37, nullptr);
  setup::UninstallOutcome outcome = setup::RunUninstall({folders_}, shown);
  ShowUninstallOutcome(outcome);
  return outcome;
}

void TfSetupMainForm::ShowUninstallOutcome(const setup::UninstallOutcome& outcome) {
  switch (outcome.removal) {
    case setup::UninstallEngine::Outcome::Removed:
      if (Label37) Label37->SetCaption("Quarn系统卸载成功!");
      if (!outcome.leftForRestart.empty()) tk::ShowPlain(setup::LeftForRestartNote(outcome.leftForRestart));
      return;
    case setup::UninstallEngine::Outcome::NoUsableFolder:
      // The page says what was done; the box also says what was wrong with the record.
      if (Label37) Label37->SetCaption(setup::kNoUsableFolderText);
      tk::ShowPlain(outcome.reason.empty() ? std::string(setup::kNoUsableFolderText) : outcome.reason);
      return;
    case setup::UninstallEngine::Outcome::Refused:
      if (Label37) Label37->SetCaption("Quarn系统没有卸载。");
      break;
    case setup::UninstallEngine::Outcome::NothingRecorded:
      break;
  }
  if (outcome.incomplete && Label37) Label37->SetCaption("Quarn系统没有完全卸载，有文件夹无法删除。");
  // What stays and why, or why the record could not be read.
  if (!outcome.reason.empty()) tk::ShowError(outcome.reason);
}

}  // namespace ui
