// The uninstall run of the uninstall page: the engine shown on the page's gauge and label, and
// the page's words for how it ended.
#include "common/win/ControlsProgress.h"
#include "toolkit/win/Dialogs.h"
#include "ui/SetupMainForm.h"
#include "ui/UninstallEngine.h"

namespace ui {

void TfSetupMainForm::RunUninstall() {
  // None of these once the uninstall page has been released.
  pub::ControlsProgress progress(Gauge2, Label37, nullptr);
  UninstallEngine engine(&progress, HadSetJAVA_HOME);
  struct KeepFlag {
    TfSetupMainForm& form;
    UninstallEngine& engine;
    ~KeepFlag() { form.HadSetJAVA_HOME = engine.HadSetJavaHome(); }
  } keepFlag{*this, engine};
  UninstallEngine::Outcome outcome;
  try {
    outcome = engine.Run();
  } catch (const UninstallIncomplete&) {
    progress.Flush();
    if (Label37) Label37->SetCaption("Quarn系统没有完全卸载，有文件夹无法删除。");
    throw;
  }
  progress.Flush();
  if (outcome == UninstallEngine::Outcome::Removed) {
    if (Label37) Label37->SetCaption("Quarn系统卸载成功!");
  } else if (outcome == UninstallEngine::Outcome::NoUsableFolder) {
    const char* nothing = "安装记录中没有可用的安装目录，没有删除任何文件。安装记录已删除。";
    if (Label37) Label37->SetCaption(nothing);
    tk::ShowPlain(nothing);
  }
}

}  // namespace ui
