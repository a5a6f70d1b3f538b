// The wizard's handlers. What a press means is decided by the wizard model (pages, choice,
// agreement, folder, button states); the handlers read the controls into it, render the step
// it returns, and perform the step's actions: the runs, the confirmation, the finish action.
#include <windows.h>

#include <exception>

#include "common/portable/InstallFolderRule.h"
#include "common/portable/PathText.h"
#include "setup/portable/ServiceCommands.h"
#include "common/win/Publicfunc.h"
#include "setup/win/SiteCheck.h"
#include "toolkit/win/Dialogs.h"
#include "ui/SelectPathForm.h"
#include "ui/SetupMainForm.h"

namespace ui {
namespace {

constexpr const char* kNextCaption = "下一步";

const char* CaptionText(pub::NextCaption caption) {
  switch (caption) {
    case pub::NextCaption::Finish:
      return kFinishCaption;
    case pub::NextCaption::Exit:
      return kExitCaption;
    case pub::NextCaption::Next:
      break;
  }
  return kNextCaption;
}

}  // namespace

void TfSetupMainForm::NextBtnClick() {
  // A name GBK cannot hold would reach the model, and every path built from it, with '?' in it.
  if (FullInstallPage_1->Visible() && Edit1->Enabled() && !Edit1->TextIsGbk()) {
    tk::ShowError(pub::kInstallFolderNotGbk);
    Edit1->SetFocus();
    return;
  }
  ReadInputs();
  Render(model_->Next());
}

void TfSetupMainForm::UpBtnClick() {
  ReadInputs();  // a folder typed before going back stays
  Render(model_->Back());
}

// Every handler that renders reads first: rendering writes the model's folder into the box.
void TfSetupMainForm::ReadInputs() {
  if (HadInstallPage) {
    model_->Choose(RadioButton4->Checked()   ? pub::WizardChoice::Repair
                   : RadioButton5->Checked() ? pub::WizardChoice::Fresh
                                             : pub::WizardChoice::Uninstall);
  }
  model_->SetFolder(Edit1->Text());
}

tk::Panel* TfSetupMainForm::PanelOf(pub::WizardPage page) const {
  switch (page) {
    case pub::WizardPage::Welcome:
      return WelcomePage;
    case pub::WizardPage::Choice:
      return HadInstallPage;
    case pub::WizardPage::Agreement:
      return LicensePage;
    case pub::WizardPage::Folder:
      return FullInstallPage_1;
    case pub::WizardPage::Copying:
      return FullInstallPage_2;
    case pub::WizardPage::Final:
      return FullInstallPage_3;
    case pub::WizardPage::Uninstall:
      return UninstallPage;
  }
  return nullptr;
}

void TfSetupMainForm::Render(const pub::WizardStep& step) {
  // A fresh install takes the uninstall page out of the stack and keeps it aside, so that a
  // later removal still has a page to show its progress on.
  if (model_->UninstallPageAside() && UninstallPage && UninstallPage->Parent() == BasePanel) {
    UninstallPage->SetVisible(false);
    UninstallPage->SetParentControl(this);
    UninstallPage->SetBounds(BasePanel->Left(), BasePanel->Top(), BasePanel->Width(), BasePanel->Height());
  }
  if (tk::Panel* page = PanelOf(step.page)) {
    if (page->Parent() == BasePanel) {
      if (UninstallPage && UninstallPage->Parent() != BasePanel) UninstallPage->SetVisible(false);
      if (!page->Visible()) ShowPage(page->TabOrder(), true);
    } else {
      ShowUninstallProgress();
    }
  }
  UpBtn->SetEnabled(step.buttons.back);
  NextBtn->SetEnabled(step.buttons.next);
  CloseBtn->SetEnabled(step.buttons.exit);
  NextBtn->SetCaption(CaptionText(step.buttons.caption));
  if (model_->FolderFixed()) {
    Edit1->SetEnabled(false);
    SpeedButton1->SetEnabled(false);
  }
  if (Edit1->Text() != model_->Folder()) Edit1->SetText(model_->Folder());
  for (const pub::WizardAction& action : step.actions) Perform(action);
}

void TfSetupMainForm::Perform(const pub::WizardAction& action) {
  switch (action.kind) {
    case pub::WizardActionKind::ConfirmUninstall:
      if (tk::ConfirmWarning("您确认您要卸载Quarn吗?")) Render(model_->UninstallConfirmed());
      return;
    case pub::WizardActionKind::ConfirmDowngrade:
      if (tk::ConfirmWarning(action.message)) Render(model_->DowngradeConfirmed());
      return;
    case pub::WizardActionKind::RunUninstall:
      return PerformUninstall();
    case pub::WizardActionKind::RunInstall:
      return PerformInstall();
    case pub::WizardActionKind::RegisterDatabaseAgain:
      Label19->SetCaption("您已经成功将Quarn软件及其需要的基础软件环境安装在了你的 " + model_->Folder() + " 目录下!");
      return RegisterDatabaseAgain();
    case pub::WizardActionKind::FinishAction:
      return FinishAction();
    case pub::WizardActionKind::CloseProgram:
      Close();
      return;
    case pub::WizardActionKind::ShowFolderProblem:
      tk::ShowError(action.message);
      if (Edit1->Enabled()) Edit1->SetFocus();
      return;
  }
}

void TfSetupMainForm::PerformInstall() {
  runActive_ = true;
  const setup::InstallOutcome outcome = RunInstall();
  runActive_ = false;
  outcome_.RunEnded(outcome.code);
  Render(model_->InstallEnded(outcome.Done()));
  if (closePending_) Close();
}

void TfSetupMainForm::PerformUninstall() {
  runActive_ = true;
  const setup::UninstallOutcome outcome = RunUninstall();
  runActive_ = false;
  outcome_.RunEnded(outcome.code);
  Render(model_->UninstallEnded(outcome.recordGone));
  if (closePending_) Close();
}

void TfSetupMainForm::ShowUninstallProgress() {
  if (!UninstallPage) return;
  if (UninstallPage->Parent() == BasePanel) {
    ShowPage(UninstallPage->TabOrder(), true);
    return;
  }
  for (tk::Control* page : BasePanel->Controls()) page->SetVisible(false);
  UninstallPage->SetVisible(true);
  SetWindowPos(UninstallPage->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  UninstallPage->Repaint();
}

void TfSetupMainForm::Button3Click() {
  if (tk::ConfirmWarning("安装程序未完成,您确认要退出?")) Close();
}

void TfSetupMainForm::RadioButton1Click() {
  ReadInputs();
  Render(model_->SetAccepted(RadioButton2->Checked()));
}

// The first character that breaks a rule decides; the other rule waits for the next exit.
void TfSetupMainForm::Edit1Exit() {
  if (!Edit1->TextIsGbk()) return;  // left as typed: Next refuses it, and stripping would write '?'
  model_->SetFolder(Edit1->Text());
  std::string notice = model_->LeaveFolderBox();
  if (notice.empty()) return;
  tk::ShowPlain(notice);
  Edit1->SetText(model_->Folder());
  Edit1->SetFocus();
}

void TfSetupMainForm::SpeedButton1Click() {
  if (!picker_) picker_ = new TFSelectPath(this);  // lives until the wizard window goes
  picker_->SeedPath = folders_.setupFolder;
  if (picker_->ShowModal() == tk::ModalResult::Ok) Edit1->SetText(picker_->Edit1->Text());
}

}  // namespace ui
