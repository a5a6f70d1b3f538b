// The install run of the copying page: the run's steps shown on the page's gauge, labels and
// memo, and the page's texts once it has ended. The buttons are the wizard model's.
#include <windows.h>
#include <oleauto.h>

#include "common/win/ControlsProgress.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/TextLines.h"
#include "toolkit/win/Dialogs.h"
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

setup::InstallOutcome TfSetupMainForm::RunInstall() {
  pub::ControlsProgress shown(Gauge1, Label17, Memo3, Label16);
  setup::InstallPlan plan{folders_};
  plan.folder = model_->Folder();
  plan.repair = model_->Choice() == pub::WizardChoice::Repair && model_->RepairOffered();
  if (plan.repair) plan.recordNotes = recordNotes_;
  plan.package = package_;
  plan.onStaged = [this](const pub::StagingResult& staged) {
    ProductList->Clear();
    for (const std::string& name : staged.products) ProductList->Add(name);
    for (int i = 0; i < ProductList->Count(); ++i) ProductList->SetChecked(i, true);
    Label23->SetCaption("本次安装包版本为：V" + staged.version + " 制作日期：" + ShortDate(staged.date));
  };
  setup::InstallOutcome outcome = setup::RunInstall(plan, shown);
  if (!outcome.Done()) {
    // The package may be put back or replaced before the next try: that run reads it afresh.
    package_.reset();
    ShowInstallFailure(outcome.reason);
    return outcome;
  }
  Label16->SetVisible(false);
  Label17->SetCaption("安装成功!");
  shown.Complete();
  FullInstallPage_2->Repaint();
  return outcome;
}

void TfSetupMainForm::ShowInstallFailure(const std::string& reason) {
  Label16->SetVisible(true);
  Label17->SetCaption("安装没有完成。");
  for (const std::string& line : tk::SplitTextLines(reason)) Memo3->AddLine("安装失败：" + line);
  tk::ShowError(reason);
}

}  // namespace ui
