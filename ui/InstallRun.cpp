// The install run of the copying page: the engine's steps shown on the page's gauge, labels
// and memo, and the page's end state once they are done.
#include <windows.h>
#include <oleauto.h>

#include "common/portable/PathText.h"
#include "common/portable/ProcessValues.h"
#include "common/win/ControlsProgress.h"
#include "toolkit/core/CodePage.h"
#include "ui/CurrentFolder.h"
#include "ui/InstallEngine.h"
#include "ui/LoggedRun.h"
#include "ui/SetupMainForm.h"

namespace ui {
namespace {

// The package date in the system's short date form.
std::string ShortDate(tk::TDateTime date) {
  SYSTEMTIME time = {};
  if (!VariantTimeToSystemTime(date, &time)) return std::string();
  wchar_t text[80];
  if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, 80)) return std::string();
  return tk::FromWide(text);
}

}  // namespace

void TfSetupMainForm::RunInstall() {
  // Counting leaves the current folder inside the staging folder; the run gives back the one
  // it started with, so that the staging folder can be deleted at close.
  CurrentFolder runFolder;
  struct Restore {
    CurrentFolder& folder;
    ~Restore() { folder.RestoreQuietly(); }
  } restore{runFolder};
  HadSetJAVA_HOME = false;
  Edit1->SetText(pub::WithoutTrailingBackslash(Edit1->Text()));
  pub::ControlsProgress shown(Gauge1, Label17, Memo3, Label16);
  const bool repair = HadInstallPage && RadioButton4->Checked();
  LoggedRun logged(repair ? pub::RunAction::Repair : pub::RunAction::Install, pub::Process().PackageVersion,
                   Edit1->Text());
  pub::TeeProgress progress(shown, logged.Log());
  InstallEngine engine(Edit1->Text(), progress);
  engine.keepChangedFiles = repair;
  engine.onStaged = [this](const std::vector<std::string>& products) {
    const pub::ProcessValues& process = pub::Process();
    ProductList->Clear();
    for (const std::string& name : products) ProductList->Add(name);
    for (int i = 0; i < ProductList->Count(); ++i) ProductList->SetChecked(i, true);
    Label23->SetCaption("本次安装包版本为：V" + process.PackageVersion + " 制作日期：" + ShortDate(process.PackageDate));
  };
  struct KeepFlag {
    TfSetupMainForm& form;
    InstallEngine& engine;
    ~KeepFlag() { form.HadSetJAVA_HOME = engine.HadSetJavaHome(); }
  } keepFlag{*this, engine};
  try {
    engine.Run();
  } catch (const std::exception& error) {
    logged.Finish(ExitCodeFor(error));
    throw;
  }
  logged.Finish(pub::ExitCode::Done);
  progress.Flush();

  Label16->SetVisible(false);
  Label17->SetCaption("安装成功!");
  shown.Complete();
  FullInstallPage_2->Repaint();
  NextBtn->SetCaption(kFinishCaption);
  NextBtn->SetEnabled(true);
  UpBtn->SetEnabled(false);
  CloseBtn->SetEnabled(false);
}

}  // namespace ui
