// The wizard's decisions without its window: which pages exist, which one shows, what the
// three buttons allow, and what must run when Next or Back is pressed. The window renders
// this state and performs the actions a step returns, then reports how a run ended.
//
// Pages form a stack; a page's index is its place in it. With an installation recorded there
// are seven: Welcome, Choice, Agreement, Folder, Copying, Final, Uninstall. Without one, five
// (no Choice, no Uninstall). A fresh install takes the Uninstall page out of the stack (six
// pages) and keeps it aside, so that a later removal still has a page to show its progress on.
#pragma once

#include <string>
#include <vector>

#include "setup/portable/RecordState.h"

namespace pub {

enum class WizardPage { Welcome, Choice, Agreement, Folder, Copying, Final, Uninstall };

// The choice page's options; Uninstall is preselected.
enum class WizardChoice { Uninstall, Repair, Fresh };

// What Next reads: "下一步", "完成" after a completed install run, "退出" at the end.
enum class NextCaption { Next, Finish, Exit };

struct WizardButtons {
  bool back = false;
  bool next = true;
  bool exit = true;
  NextCaption caption = NextCaption::Next;

  bool operator==(const WizardButtons& other) const {
    return back == other.back && next == other.next && exit == other.exit && caption == other.caption;
  }
};

enum class WizardActionKind {
  ConfirmUninstall,       // ask "您确认您要卸载Quarn吗?"; on yes call UninstallConfirmed()
  ConfirmDowngrade,       // ask message (both versions); on yes call DowngradeConfirmed()
  RunUninstall,           // remove the recorded installation, then call UninstallEnded()
  RunInstall,             // the copying page's run, then call InstallEnded()
  RegisterDatabaseAgain,  // on arrival at the final page: "mysqld-nt --install mysqlquarn"
  FinishAction,           // open the installed site and end the program
  CloseProgram,           // end the program: nothing is installed to open
  ShowFolderProblem,      // an error box with message; focus the folder box unless fixed
};

struct WizardAction {
  WizardActionKind kind;
  std::string message;  // GBK; only for ShowFolderProblem and ConfirmDowngrade

  bool operator==(const WizardAction& other) const { return kind == other.kind && message == other.message; }
};

// The result of a press or a run's end: the page to show, the buttons, what to run, in order.
struct WizardStep {
  WizardPage page;
  WizardButtons buttons;
  std::vector<WizardAction> actions;
};

class WizardModel {
 public:
  // record: the installation record as read (see RecordState.h); only a whole one is repaired.
  // uninstallerAlone: the uninstaller's window, which offers the removal and nothing else.
  explicit WizardModel(const InstallationRecordReading& record, bool uninstallerAlone = false);
  // A record of text values: recordedFolder is the install folder it names (may be empty or
  // unusable, which makes the record damaged).
  WizardModel(bool recordExists, const std::string& recordedFolder, bool uninstallerAlone = false);

  WizardPage Page() const { return page_; }
  // The shown page's place in the stack; 0 for the Uninstall page shown aside.
  int PageIndex() const;
  bool UninstallPageAside() const { return uninstallAside_; }
  WizardChoice Choice() const { return choice_; }
  // A damaged record still has the choice page, with removal and a fresh install only: the
  // folder to repair in is not known.
  bool RecordDamaged() const { return record_ == RecordState::Damaged; }
  bool RepairOffered() const { return record_ == RecordState::Whole; }
  // The folder box: its text, and whether it is closed to changes (a repair into a usable
  // recorded folder).
  const std::string& Folder() const { return folder_; }
  bool FolderFixed() const { return folderFixed_; }
  // An install or uninstall run is under way: every button is off until it ends.
  bool RunActive() const { return run_ != Run::None; }
  // The uninstall choice has run: "退出" then only ends the program, with nothing to open.
  bool Removed() const { return removed_; }

  // A repair that is not offered is not taken; the choice stays.
  void Choose(WizardChoice choice);
  // The package's version. One older than the recorded installation's makes a repair a
  // downgrade, which is asked about before it goes on.
  void SetPackageVersion(const std::string& version) { packageVersion_ = version; }
  bool PackageOlder() const;
  // The agreement's two options; on the agreement page Next follows the acceptance.
  WizardStep SetAccepted(bool accepted);
  // Typed or picked text; ignored while the folder is fixed.
  void SetFolder(const std::string& folder);
  // The folder box loses the focus. The first character that breaks a rule decides: a
  // double-byte character is refused, blanks are removed. Returns the notice to show (the box
  // then takes the focus again), or "" when the text passes.
  std::string LeaveFolderBox();

  // A press of a disabled button, or any press during a run, changes nothing.
  WizardStep Next();
  WizardStep Back();
  WizardStep UninstallConfirmed();
  WizardStep DowngradeConfirmed();
  WizardStep InstallEnded(bool completed);
  WizardStep UninstallEnded(bool completed);

 private:
  enum class Run { None, Install, Removal, RemovalBeforeFresh };

  WizardStep Step(std::vector<WizardAction> actions = {}) const;
  WizardStep Advance();
  WizardStep StartRemoval(Run run);
  WizardStep StartRepair();
  void SetAllButtons(bool enabled);

  RecordState record_;
  std::string recordedVersion_;
  std::string packageVersion_;
  bool uninstallerAlone_;
  std::vector<WizardPage> pages_;
  WizardPage page_ = WizardPage::Welcome;
  bool uninstallAside_ = false;
  WizardButtons buttons_;
  WizardChoice choice_ = WizardChoice::Uninstall;
  bool accepted_ = false;
  std::string folder_;
  bool folderFixed_ = false;
  Run run_ = Run::None;
  bool removed_ = false;  // the uninstall choice has run: "退出" then only ends the program
};

}  // namespace pub
