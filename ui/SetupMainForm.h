// The wizard window, the program's main window: a stack of pages above a bar with Back, Next
// and Exit. Its methods are split by concern over several files: layout, pages, navigation,
// and the runs that drive the copying and uninstall pages.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/core/Errors.h"
#include "toolkit/win/Button.h"
#include "toolkit/win/CheckListBox.h"
#include "toolkit/win/Edit.h"
#include "toolkit/win/Form.h"
#include "toolkit/win/Gauge.h"
#include "toolkit/win/Label.h"
#include "toolkit/win/Memo.h"
#include "toolkit/win/Panel.h"
#include "toolkit/win/RadioButton.h"
#include "setup/portable/WizardModel.h"
#include "setup/portable/WizardOutcome.h"
#include "setup/win/Runs.h"

namespace ui {

class TFSelectPath;

// The wizard window's caption, with its trailing blank; a second copy finds the window by it.
constexpr const char* kMainFormCaption = "Quarn软件安装系统(V2.0) ";

// The window's client area in design pixels (at 96 DPI): the pages above the button bar.
constexpr int kWizardClientWidth = 496;
constexpr int kWizardClientHeight = 331;

// Captions of NextBtn.
constexpr const char* kFinishCaption = "完成";
constexpr const char* kExitCaption = "退出";

class TfSetupMainForm : public tk::Form {
 public:
  // folders: where the program works, as start-up settled them; the package is looked for in
  // the setup folder, and every run works in them. uninstallerAlone: started as the
  // uninstaller, with no package, for the removal only.
  TfSetupMainForm(tk::Component* owner, setup::RunFolders folders, bool uninstallerAlone = false);

  // Handlers.
  void FormCreate();
  void FormShow();
  void FormClose();
  bool FormCloseQuery();
  void NextBtnClick();
  void UpBtnClick();
  void Button3Click();
  void RadioButton1Click();
  void Edit1Exit();
  void SpeedButton1Click();

  // The uninstaller with its window: the removal of the recorded installation, confirmed first;
  // without a record, or when the user declines, the window closes.
  void StartUninstallAlone();

  // Whether an install or uninstall run is under way.
  bool RunActive() const { return runActive_; }
  // What the program tells its caller when the window has closed: the last run's outcome, the
  // reason the window could not go on, or that it was left before any change.
  pub::ExitCode ProgramExitCode() const { return outcome_.Code(); }

  // Pages. A page's index is its tab order inside BasePanel: dense, renumbered on release.
  void ShowPage(int pageIndex, bool show);
  // Destroys a page; the member that named it becomes null.
  void ReleasePage(tk::Panel*& page);

  // On arrival at the final page: the database service registered once more; a service that
  // is not registered afterwards is reported in a box. The window answers meanwhile.
  void RegisterDatabaseAgain();
  // Next on the final page: the installed site opened, the program ended. Without an installed
  // site the program just ends; when the shell cannot open it, a box says why and the page stays.
  void FinishAction();

  // The copying page's run into the folder box's folder, shown on the page's gauge, labels
  // and memo; the page's texts say how it ended.
  setup::InstallOutcome RunInstall();
  // The removal of the recorded installation, shown on the uninstall page.
  setup::UninstallOutcome RunUninstall();

  // The controls by name, for tests and for the runs.
  tk::Panel* Panel1;
  tk::Button* UpBtn;
  tk::Button* NextBtn;
  tk::Button* CloseBtn;
  tk::Panel* BasePanel;
  tk::Panel* ChoosestylePage;
  tk::CheckListBox* ProductList;

  tk::Panel* WelcomePage;
  tk::Panel* HadInstallPage;
  tk::Panel* LicensePage;
  tk::Panel* FullInstallPage_1;
  tk::Panel* FullInstallPage_2;
  tk::Panel* FullInstallPage_3;
  tk::Panel* UninstallPage;

  tk::Memo* Memo1;
  tk::Label* Label32;
  tk::Label* Label33;
  tk::Label* Label38;  // the package's version beside the recorded one
  tk::Label* Label39;  // what is wrong with the record, when something is
  tk::RadioButton* RadioButton3;
  tk::RadioButton* RadioButton4;
  tk::RadioButton* RadioButton5;
  tk::Memo* Memo2;
  tk::RadioButton* RadioButton1;
  tk::RadioButton* RadioButton2;
  tk::Edit* Edit1;
  tk::Button* SpeedButton1;
  tk::Label* Label23;
  tk::Label* Label16;
  tk::Label* Label17;
  tk::Memo* Memo3;
  tk::Gauge* Gauge1;
  tk::Label* Label19;
  tk::Label* Label29;
  tk::Label* Label36;
  tk::Label* Label37;
  tk::Gauge* Gauge2;

 private:
  // The copying page after a run that failed: the reason shown in the memo and a box.
  void ShowInstallFailure(const std::string& reason);
  // The uninstall page's words for how a removal ended, and its box when there is one.
  void ShowUninstallOutcome(const setup::UninstallOutcome& outcome);

  void BuildControls();
  void WireHandlers();
  // The choice and the folder box, as the user left them, into the model.
  void ReadInputs();
  // Shows the model's step (page, buttons, caption, folder box) and performs its actions.
  void Render(const pub::WizardStep& step);
  void Perform(const pub::WizardAction& action);
  tk::Panel* PanelOf(pub::WizardPage page) const;
  // The runs, with every button off meanwhile; a close asked for meanwhile happens once the
  // run has ended. An uninstall run's error goes on to the default handler.
  void PerformInstall();
  void PerformUninstall();
  // Shows the uninstall page for a run: in the page stack while it is there, else on its own.
  void ShowUninstallProgress();
  // Points every member at its control by name, or at none once its page is released.
  void BindMembers();

  const setup::RunFolders folders_;
  // What the wizard decides; made when the window knows whether an installation is recorded.
  std::unique_ptr<pub::WizardModel> model_;
  // What the record held that could not be read as written, for a repair's log.
  std::vector<std::string> recordNotes_;
  const bool uninstallerAlone_;
  // The package, read once when the window is made: the choice page shows its version and
  // every run takes its index. None for the uninstaller, which needs only the record.
  std::shared_ptr<const pub::PackageIndex> package_;
  bool packageFound_ = false;  // or not needed: the uninstaller has none
  bool runActive_ = false;
  bool closePending_ = false;
  pub::WizardOutcome outcome_;
  TFSelectPath* picker_ = nullptr;  // made at the first click; owned by the window
};

}  // namespace ui
