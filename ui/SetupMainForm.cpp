#include "ui/SetupMainForm.h"

#include "common/portable/ProcessValues.h"
#include "common/portable/WorkingFolders.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/Application.h"
#include "toolkit/win/Dialogs.h"

namespace ui {

TfSetupMainForm::TfSetupMainForm(tk::Component* owner) : tk::Form(owner) {
  SetName("fSetupMainForm");
  SetCaption("Quarn软件安装系统(V2.0) ");
  SetFormFont(L"宋体", 12, GB2312_CHARSET);
  SetOuterSize(504, 358);
  BuildControls();
  OnShow = [this] { FormShow(); };
  OnClose = [this] { FormClose(); };
  // An error in the creation handler is reported and the window lives on.
  try {
    FormCreate();
  } catch (const std::exception& error) {
    tk::Application::HandleException(error);
  }
}

void TfSetupMainForm::FormCreate() {
  ShowPage(0, true);
  pub::ProcessValues& process = pub::Process();
  process.ArchiveFound = tk::FileExists(process.SetupFolder + pub::kPackageFileName);
  if (!process.ArchiveFound) {
    tk::ShowError(std::string("系统安装包损坏，无法找到 Setup.pak文件，请检查，或进入") + kDownloadSite + "从新下载");
    return;
  }
  if (!DetectInstallation()) {
    ReleasePage(HadInstallPage);
    ReleasePage(UninstallPage);
  }
}

void TfSetupMainForm::FormShow() {
  if (!pub::Process().ArchiveFound) Close();
  NextBtn->SetFocus();
}

void TfSetupMainForm::FormClose() { pub::Process().ProductNames.reset(); }

}  // namespace ui
