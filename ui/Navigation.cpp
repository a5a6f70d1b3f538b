// The wizard's handlers: moving between pages, the agreement gate, the install-folder checks,
// the repair / fresh-install / uninstall choice, and the finish action.
#include <windows.h>

#include "common/portable/InstallFolderRule.h"
#include "common/portable/ProcessValues.h"
#include "common/win/Publicfunc.h"
#include "toolkit/core/TextLines.h"
#include "toolkit/win/Dialogs.h"
#include "toolkit/win/Shell.h"
#include "ui/CurrentFolder.h"
#include "ui/SelectPathForm.h"
#include "ui/SetupMainForm.h"

namespace ui {
namespace {

constexpr const char* kSiteAddress = "http://localhost:8080";
constexpr uint16_t kShowWindow = 5;  // SW_SHOW

}  // namespace

void TfSetupMainForm::NextBtnClick() {
  if (NextBtn->Caption() == kExitCaption) return removed_ ? Close() : FinishAction();
  bool choosing = HadInstallPage && HadInstallPage->Visible();
  if (choosing && RadioButton3->Checked()) return UninstallChoice();
  if (choosing && RadioButton4->Checked()) {
    // A repair installs into the recorded folder, which can no longer be changed. A record
    // without a usable folder leaves the box open, with the default, for the user to choose.
    if (pub::InstallFolderProblem(Edit1->Text()).empty()) {
      Edit1->SetEnabled(false);
      SpeedButton1->SetEnabled(false);
    } else {
      Edit1->SetText(kDefaultInstallFolder);
    }
    return Advance();
  }
  if (choosing && RadioButton5->Checked()) return FreshInstallChoice();
  if (FullInstallPage_1->Visible()) {
    std::string problem = pub::InstallFolderProblem(Edit1->Text());
    if (!problem.empty()) {
      tk::ShowError(problem);
      if (Edit1->Enabled()) Edit1->SetFocus();
      return;
    }
  }
  Advance();
}

void TfSetupMainForm::FinishAction() {
  Edit1->SetText(pub::WithoutTrailingBackslash(Edit1->Text()));
  CurrentFolder().Change(Edit1->Text() + "\\tomcat5\\bin\\");  // stays there: the program ends
  tk::OpenAddress(Handle(), kSiteAddress);
  Close();
}

void TfSetupMainForm::UninstallChoice() {
  if (!tk::ConfirmWarning("您确认您要卸载Quarn吗?")) return;
  ShowUninstallProgress();
  NextBtn->SetCaption(kExitCaption);
  removed_ = true;
  RunGuarded(&TfSetupMainForm::RunUninstall);
  // The uninstaller has no other page to go back to.
  if (pub::Process().UninstallOnly) UpBtn->SetEnabled(false);
}

void TfSetupMainForm::FreshInstallChoice() {
  ShowUninstallProgress();
  try {
    RunGuarded(&TfSetupMainForm::RunUninstall);
  } catch (const std::exception&) {
    // The old installation is still recorded (what stays, and why, is in the error the default
    // handler shows next): back to the choice page, from which removal or repair can go on.
    if (UninstallPage) UninstallPage->SetVisible(false);
    ShowPage(HadInstallPage->TabOrder(), true);
    throw;
  }
  // The uninstall page leaves the page stack; it is kept aside so that a later removal still
  // has a page to show its progress on.
  if (UninstallPage && UninstallPage->Parent() == BasePanel) {
    UninstallPage->SetVisible(false);
    UninstallPage->SetParentControl(this);
    UninstallPage->SetBounds(BasePanel->Left(), BasePanel->Top(), BasePanel->Width(), BasePanel->Height());
  }
  if (UninstallPage) UninstallPage->SetVisible(false);
  HadInstallPage->SetVisible(true);
  Advance();
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

void TfSetupMainForm::Advance() {
  int current = CurrentPageIndex();
  if (current + 1 >= PageCount() - 1) NextBtn->SetEnabled(false);
  UpBtn->SetEnabled(true);
  ShowPage(current + 1, true);
  if (LicensePage->Visible()) NextBtn->SetEnabled(RadioButton2->Checked());
  if (FullInstallPage_2->Visible()) {
    RunGuarded(&TfSetupMainForm::RunInstall);
    return;
  }
  if (FullInstallPage_3->Visible()) {
    Label19->SetCaption("您已经成功将Quarn软件及其需要的基础软件环境安装在了你的 " + Edit1->Text() + " 目录下!");
    NextBtn->SetCaption(kExitCaption);
    NextBtn->SetEnabled(true);
    UpBtn->SetEnabled(false);
    CloseBtn->SetEnabled(false);
    pub::RunAndWait("mysqld-nt --install mysqlquarn", kShowWindow);
  }
}

void TfSetupMainForm::RunGuarded(void (TfSetupMainForm::*run)()) {
  bool install = run == &TfSetupMainForm::RunInstall;
  EnableButtons(false);
  runActive_ = true;
  try {
    (this->*run)();
    runActive_ = false;
    // A finished install run has set the buttons itself; an uninstall run gives them back.
    if (!install) EnableButtons(true);
  } catch (const std::exception& error) {
    runActive_ = false;
    EnableButtons(true);
    if (install) {
      ShowInstallFailure(error.what());
    } else {
      // An uninstall run's error goes on to the default handler, which shows it.
      if (closePending_) Close();
      throw;
    }
  }
  if (closePending_) Close();
}

void TfSetupMainForm::ShowInstallFailure(const std::string& reason) {
  // The final page, with its success texts, is only for a run that completed: Next stays off,
  // Back leads to the folder page for another run, Exit leaves.
  NextBtn->SetEnabled(false);
  Label16->SetVisible(true);
  Label17->SetCaption("安装没有完成。");
  for (const std::string& line : tk::SplitTextLines(reason)) Memo3->AddLine("安装失败：" + line);
  tk::ShowError(reason);
}

void TfSetupMainForm::EnableButtons(bool enabled) {
  NextBtn->SetEnabled(enabled);
  UpBtn->SetEnabled(enabled);
  CloseBtn->SetEnabled(enabled);
}

void TfSetupMainForm::UpBtnClick() {
  if (UninstallPage && UninstallPage->Parent() != BasePanel && UninstallPage->Visible() && HadInstallPage) {
    // Back from the removal shown on its own returns to the choice page it was started from.
    UninstallPage->SetVisible(false);
    ShowPage(HadInstallPage->TabOrder(), true);
    UpBtn->SetEnabled(true);
    NextBtn->SetEnabled(true);
    return;
  }
  int current = CurrentPageIndex();
  if (current <= 1) UpBtn->SetEnabled(false);
  NextBtn->SetEnabled(true);
  ShowPage(current - 1, true);
  if (LicensePage->Visible()) NextBtn->SetEnabled(RadioButton2->Checked());
}

void TfSetupMainForm::Button3Click() {
  if (tk::ConfirmWarning("安装程序未完成,您确认要退出?")) Close();
}

void TfSetupMainForm::RadioButton1Click() { NextBtn->SetEnabled(RadioButton2->Checked()); }

// The first character that breaks a rule decides; the other rule waits for the next exit.
void TfSetupMainForm::Edit1Exit() {
  std::string text = Edit1->Text();
  for (unsigned char c : text) {
    if (c > 128) {
      tk::ShowPlain("您建立的目录名称中包含汉字等字符，请从新输入");
      Edit1->SetFocus();
      return;
    }
    if (c == ' ') {
      tk::ShowPlain("您建立的目录中包含空格，系统自动过滤了空格，请确认");
      std::string stripped;
      for (char k : text)
        if (k != ' ') stripped += k;
      Edit1->SetText(stripped);
      Edit1->SetFocus();
      return;
    }
  }
}

void TfSetupMainForm::SpeedButton1Click() {
  auto* picker = new TFSelectPath(this);  // lives until the wizard window goes
  picker->SeedPath = pub::Process().SetupFolder;
  if (picker->ShowModal() == tk::ModalResult::Ok) Edit1->SetText(picker->Edit1->Text());
}

}  // namespace ui
