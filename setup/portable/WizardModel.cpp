#include "setup/portable/WizardModel.h"

#include <algorithm>

#include "common/portable/InstallFolderRule.h"
#include "common/portable/PathText.h"
#include "common/portable/VersionOrder.h"

namespace pub {

WizardModel::WizardModel(bool recordExists, const std::string& recordedFolder, bool uninstallerAlone)
    : WizardModel(JudgeTextRecord(recordExists, recordedFolder), uninstallerAlone) {}

WizardModel::WizardModel(const InstallationRecordReading& record, bool uninstallerAlone)
    : record_(record.state), recordedVersion_(record.version), uninstallerAlone_(uninstallerAlone) {
  using P = WizardPage;
  if (record.Exists()) {
    pages_ = {P::Welcome, P::Choice, P::Agreement, P::Folder, P::Copying, P::Final, P::Uninstall};
  } else {
    pages_ = {P::Welcome, P::Agreement, P::Folder, P::Copying, P::Final};
  }
  // A damaged record names no folder: a fresh install after its removal starts from the
  // default, shown in an open box.
  folder_ = record_ == RecordState::Whole ? record.folder : kDefaultInstallFolder;
}

void WizardModel::Choose(WizardChoice choice) {
  if (choice != WizardChoice::Repair || RepairOffered()) choice_ = choice;
}

bool WizardModel::PackageOlder() const { return IsDowngrade(packageVersion_, recordedVersion_); }

int WizardModel::PageIndex() const {
  auto found = std::find(pages_.begin(), pages_.end(), page_);
  return found == pages_.end() ? 0 : static_cast<int>(found - pages_.begin());
}

WizardStep WizardModel::Step(std::vector<WizardAction> actions) const { return {page_, buttons_, std::move(actions)}; }

void WizardModel::SetAllButtons(bool enabled) { buttons_.back = buttons_.next = buttons_.exit = enabled; }

WizardStep WizardModel::SetAccepted(bool accepted) {
  accepted_ = accepted;
  if (page_ == WizardPage::Agreement && !RunActive()) buttons_.next = accepted;
  return Step();
}

void WizardModel::SetFolder(const std::string& folder) {
  if (!folderFixed_) folder_ = folder;
}

std::string WizardModel::LeaveFolderBox() {
  if (folderFixed_) return "";
  switch (FirstFolderCharacterFault(folder_)) {
    case FolderCharacterFault::DoubleByte:
      return "您建立的目录名称中包含汉字等字符，请从新输入";
    case FolderCharacterFault::Blank:
      folder_.erase(std::remove(folder_.begin(), folder_.end(), ' '), folder_.end());
      return "您建立的目录中包含空格，系统自动过滤了空格，请确认";
    case FolderCharacterFault::None:
      break;
  }
  return "";
}

WizardStep WizardModel::Next() {
  if (!buttons_.next || RunActive()) return Step();
  if (buttons_.caption == NextCaption::Exit)
    return Step({{removed_ ? WizardActionKind::CloseProgram : WizardActionKind::FinishAction, ""}});
  if (page_ == WizardPage::Choice) {
    switch (choice_) {
      case WizardChoice::Uninstall:
        return Step({{WizardActionKind::ConfirmUninstall, ""}});
      case WizardChoice::Repair:
        if (PackageOlder())
          return Step({{WizardActionKind::ConfirmDowngrade, DowngradeQuestion(packageVersion_, recordedVersion_)}});
        return StartRepair();
      case WizardChoice::Fresh:
        return StartRemoval(Run::RemovalBeforeFresh);
    }
  }
  if (page_ == WizardPage::Folder) {
    const std::string problem = InstallFolderProblem(folder_);
    if (!problem.empty()) return Step({{WizardActionKind::ShowFolderProblem, problem}});
  }
  return Advance();
}

WizardStep WizardModel::Advance() {
  const int next = PageIndex() + 1;
  const int count = static_cast<int>(pages_.size());
  if (next >= count) return Step();  // the last page has no page after it
  if (next >= count - 1) buttons_.next = false;
  buttons_.back = true;
  page_ = pages_[next];
  if (page_ == WizardPage::Agreement) buttons_.next = accepted_;
  if (page_ == WizardPage::Copying) {
    SetAllButtons(false);
    run_ = Run::Install;
    // The run installs into the folder without its trailing '\': the box, and the final page
    // made from it, show that folder.
    folder_ = WithoutTrailingBackslash(folder_);
    return Step({{WizardActionKind::RunInstall, ""}});
  }
  if (page_ == WizardPage::Final) {
    buttons_ = {false, true, false, NextCaption::Exit};
    return Step({{WizardActionKind::RegisterDatabaseAgain, ""}});
  }
  return Step();
}

WizardStep WizardModel::StartRepair() {
  // A repair installs into the recorded folder, which can no longer be changed. Only a whole
  // record offers it, so that folder is known.
  folderFixed_ = true;
  return Advance();
}

WizardStep WizardModel::DowngradeConfirmed() {
  if (RunActive() || page_ != WizardPage::Choice || choice_ != WizardChoice::Repair) return Step();
  return StartRepair();
}

WizardStep WizardModel::UninstallConfirmed() {
  if (RunActive() || page_ != WizardPage::Choice || choice_ != WizardChoice::Uninstall) return Step();
  buttons_.caption = NextCaption::Exit;
  return StartRemoval(Run::Removal);
}

WizardStep WizardModel::StartRemoval(Run run) {
  page_ = WizardPage::Uninstall;
  SetAllButtons(false);
  run_ = run;
  return Step({{WizardActionKind::RunUninstall, ""}});
}

WizardStep WizardModel::InstallEnded(bool completed) {
  if (run_ != Run::Install) return Step();
  run_ = Run::None;
  if (completed) {
    buttons_ = {false, true, false, NextCaption::Finish};
  } else {
    // The final page, with its success texts, is only for a run that completed: Back leads
    // to the folder page for another run, Exit leaves.
    buttons_ = {true, false, true, buttons_.caption};
  }
  return Step();
}

WizardStep WizardModel::UninstallEnded(bool completed) {
  const Run run = run_;
  if (run != Run::Removal && run != Run::RemovalBeforeFresh) return Step();
  run_ = Run::None;
  SetAllButtons(true);
  if (run == Run::Removal) {
    removed_ = true;
    // The uninstaller has no other page to go back to.
    if (uninstallerAlone_) buttons_.back = false;
    return Step();
  }
  page_ = WizardPage::Choice;
  // A removal that did not complete keeps the record: the choice is offered again.
  if (!completed) return Step();
  if (!uninstallAside_) {
    pages_.erase(std::find(pages_.begin(), pages_.end(), WizardPage::Uninstall));
    uninstallAside_ = true;
  }
  return Advance();
}

WizardStep WizardModel::Back() {
  if (!buttons_.back || RunActive()) return Step();
  if (uninstallAside_ && page_ == WizardPage::Uninstall) {
    // Back from the removal shown on its own returns to the choice page it was started from.
    page_ = WizardPage::Choice;
    buttons_.back = buttons_.next = true;
    return Step();
  }
  const int current = PageIndex();
  if (current == 0) return Step();
  if (current <= 1) buttons_.back = false;
  buttons_.next = true;
  page_ = pages_[current - 1];
  if (page_ == WizardPage::Agreement) buttons_.next = accepted_;
  return Step();
}

}  // namespace pub
