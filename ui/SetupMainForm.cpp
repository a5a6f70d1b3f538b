#include "ui/SetupMainForm.h"

#include <windows.h>

#include "common/portable/VersionOrder.h"
#include "common/win/PackageLocation.h"
#include "common/win/Publicfunc.h"
#include "setup/win/InstallEngine.h"
#include "setup/win/InstallationRecord.h"
#include "setup/win/SetupPackage.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/Application.h"
#include "toolkit/win/Dialogs.h"

namespace ui {

TfSetupMainForm::TfSetupMainForm(tk::Component* owner, setup::RunFolders folders, bool uninstallerAlone)
    : tk::Form(owner), folders_(std::move(folders)), uninstallerAlone_(uninstallerAlone) {
  SetName("fSetupMainForm");
  SetCaption(kMainFormCaption);
  SetFormFont(L"宋体", 12, GB2312_CHARSET);
  SetClientSize(kWizardClientWidth, kWizardClientHeight);
  BuildControls();
  WireHandlers();
  // A window without its model would fail at the first click: an error here ends the making of
  // the window, and the caller shows it and ends the program.
  FormCreate();
}

void TfSetupMainForm::WireHandlers() {
  OnShow = [this] { FormShow(); };
  OnCloseQuery = [this] { return FormCloseQuery(); };
  OnClose = [this] { FormClose(); };
  NextBtn->OnClick = [this] { NextBtnClick(); };
  UpBtn->OnClick = [this] { UpBtnClick(); };
  CloseBtn->OnClick = [this] { Button3Click(); };
  RadioButton1->OnClick = [this] { RadioButton1Click(); };
  RadioButton2->OnClick = [this] { RadioButton1Click(); };
  Edit1->OnExit = [this] { Edit1Exit(); };
  SpeedButton1->OnClick = [this] { SpeedButton1Click(); };
}

void TfSetupMainForm::FormCreate() {
  ShowPage(0, true);
  // The uninstaller needs no package, only the record.
  if (!uninstallerAlone_) package_ = setup::ReadSetupPackage(pub::LocatePackage(folders_.setupFolder));
  packageFound_ = uninstallerAlone_ || package_->kind != pub::PackageIndex::Missing;
  if (!packageFound_) {
    model_ = std::make_unique<pub::WizardModel>(true, Edit1->Text());  // both optional pages stay
    outcome_.StoppedAtStart(pub::ExitCode::PackageProblem);
    tk::ShowError(setup::PackageMissingMessage());
    return;
  }
  const pub::InstallationRecordReading recorded = setup::ReadInstallationRecord();
  // Only a recorded installation has a version to compare it with.
  const std::string packageVersion = recorded.Exists() && package_ ? package_->version : std::string();
  if (!recorded.Exists()) {
    ReleasePage(HadInstallPage);
    ReleasePage(UninstallPage);
  } else {
    Label32->SetCaption(recorded.version.empty() ? pub::kUnknownVersionText : recorded.version);
    // A repair with a newer package is an upgrade, with an older one a downgrade: the page
    // says which version comes.
    if (!packageVersion.empty())
      Label38->SetCaption("本安装包的版本号为：" + packageVersion +
                          (pub::IsDowngrade(packageVersion, recorded.version) ? "，比已安装的版本旧" : ""));
    // What is wrong with the record: why repair is not offered, or why the version is unknown.
    Label39->SetCaption(!recorded.damage.empty() ? recorded.damage : recorded.versionProblem);
  }
  recordNotes_ = recorded.notes;
  model_ = std::make_unique<pub::WizardModel>(recorded, uninstallerAlone_);
  model_->SetPackageVersion(packageVersion);
  // A damaged record names no folder: the box shows the model's default, and the choice page
  // says why repair is not among its options.
  Edit1->SetText(model_->Folder());
  if (model_->RecordDamaged()) {
    Label33->SetCaption(pub::kDamagedRecordChoiceText);
    RadioButton4->SetEnabled(false);
  }
}

void TfSetupMainForm::StartUninstallAlone() {
  if (!HadInstallPage) {
    tk::ShowError("没有找到Quarn软件的安装记录，没有需要卸载的内容。");
    outcome_.StoppedAtStart(pub::ExitCode::Failed);
    Close();
    return;
  }
  // From the welcome page to the choice page, then the uninstall choice, as a person would.
  Render(model_->Next());
  RadioButton3->SetChecked(true);
  NextBtnClick();
  // Declined: nothing to do here without a package.
  if (!model_->Removed()) Close();
}

void TfSetupMainForm::FormShow() {
  if (!packageFound_) Close();
  NextBtn->SetFocus();
}

// A close asked for during a run waits for its end, so the staging folder is never deleted
// under a running walk.
bool TfSetupMainForm::FormCloseQuery() {
  if (!runActive_) return true;
  closePending_ = true;
  return false;
}

void TfSetupMainForm::FormClose() {
  // Staged copies left by a run across volumes take seconds to delete: the window goes first,
  // so the person who closed it is not left looking at a window that does not answer.
  SetVisible(false);
  setup::RemoveStagingFolder(folders_.stagingFolder);
}

}  // namespace ui
