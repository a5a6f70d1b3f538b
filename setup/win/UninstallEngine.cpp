#include "setup/win/UninstallEngine.h"

#include <windows.h>

#include <memory>
#include <optional>

#include "common/portable/GbkCase.h"
#include "common/portable/GbkText.h"
#include "common/portable/InstallFolderRule.h"
#include "common/portable/JobCrew.h"
#include "common/portable/LockedProgress.h"
#include "common/portable/PathText.h"
#include "setup/portable/PlacedFiles.h"
#include "setup/portable/RemovalPlan.h"
#include "setup/portable/RemovalTarget.h"
#include "common/win/FileTree.h"
#include "common/win/Publicfunc.h"
#include "setup/win/PlacedFilesStore.h"
#include "common/win/Services.h"
#include "common/win/SystemFolders.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/ProgramPath.h"
#include "toolkit/win/Registry.h"
#include "setup/win/InstallRecordKeys.h"
#include "setup/win/InstallationRecord.h"
#include "setup/win/ServiceTakedown.h"

namespace setup {
namespace {

constexpr int kDeleteRetries = 10;
constexpr DWORD kDeleteRetryMs = 200;
// Folders deleted side by side: on a journaled volume two deleting threads take about 0.7 of
// one thread's time.
constexpr int kDeleters = 2;

using tk::FolderExists;

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(tk::ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string InstallFolderOfRunningUninstaller() {
  const std::string self = pub::LongFolderName(tk::FromWide(tk::ProgramPath()));
  const std::string suffix = pub::GbkUpperCase(kUninstallerPath);
  if (self.size() <= suffix.size() || pub::GbkUpperCase(self.substr(self.size() - suffix.size())) != suffix)
    return std::string();
  return self.substr(0, self.size() - suffix.size());
}

std::string WhyRecordedFolderIsNotOurs(const std::string& recordedFolder) {
  pub::RemovalTargetFacts facts;
  // Judged by its long name: a short (8.3) alias of a system folder is that folder.
  facts.recordedFolder = pub::FolderPathProblem(recordedFolder).empty() ? pub::LongFolderName(recordedFolder)
                                                                        : recordedFolder;
  facts.holdsUninstaller = IsFile(facts.recordedFolder + kUninstallerPath);
  facts.holdsPlacedFiles = IsFile(facts.recordedFolder + pub::kPlacedFilesPath);
  facts.uninstallerFolder = InstallFolderOfRunningUninstaller();
  facts.systemFolders = pub::SystemFolders();
  return pub::RemovalTargetProblem(facts);
}

UninstallEngine::Outcome UninstallEngine::Run(const pub::InstallationRecordReading& record) {
  // A record whose writing stopped early may lack HadSetJAVA_HOME: then the variable is left.
  hadSetJavaHome_ = record.hadSetJavaHome;
  const std::string& installPath = record.folder;
  installFolder_ = pub::WithoutTrailingBackslash(installPath);
  if (!record.productKeyExists) {
    DeleteRecord();
    if (progress_) progress_->Outcome(pub::RunStep::Remove, false, "没有找到安装记录，没有删除任何文件。");
    return Outcome::NothingRecorded;
  }
  if (progress_) progress_->Range(record.fileCount);
  if (pub::NamesNoFolder(installFolder_)) {
    // No folder to remove from (none recorded, not text, a relative path, longer than Windows
    // can name): product paths would start wherever the current folder is. Nothing is removed;
    // the record, which cannot lead anywhere, goes.
    DeleteRecord();
    if (progress_) progress_->Outcome(pub::RunStep::Remove, false, kNoUsableFolderText);
    return Outcome::NoUsableFolder;
  }
  // Nothing is stopped or deleted for a folder that does not prove to be this installation:
  // the record stays for an administrator to look at.
  refusal_ = WhyRecordedFolderIsNotOurs(installPath);
  if (!refusal_.empty()) {
    if (progress_) progress_->Outcome(pub::RunStep::Remove, false, refusal_);
    return Outcome::Refused;
  }
  const pub::RemovalPlan plan = pub::PlanRemoval(installFolder_, record.products, pub::SystemDirectory(), bounds);
  RemoveProducts(plan);
  // The record stays, so that the removal can be run again once the cause is gone.
  StopIfFoldersRemain(plan.folders);
  RemoveInstallFolder();
  if (progress_ && !leftForRestart_.empty()) progress_->Note(LeftForRestartNote(leftForRestart_));
  if (progress_) {
    progress_->Complete();
    progress_->Outcome(pub::RunStep::Remove, true, std::string());
  }
  DeleteRecord();
  return Outcome::Removed;
}

void UninstallEngine::StopIfFoldersRemain(const std::vector<std::string>& folders) {
  std::string left;
  for (const std::string& folder : folders)
    if (FolderExists(folder)) {
      std::string why = pub::WhyFolderRemains(folder);
      if (why.empty()) continue;
      if (progress_) progress_->Failure(folder, why);
      left += "\r\n" + folder + "\r\n    " + why;
    }
  if (left.empty()) return;
  if (progress_) progress_->Outcome(pub::RunStep::Remove, false, "以下文件夹无法删除：" + left);
  throw UninstallIncomplete("Quarn系统没有完全卸载，以下文件夹无法删除：" + left +
                            "\r\n安装记录已保留，排除原因后可以再次卸载。");
}

void UninstallEngine::RemoveInstallFolder() {
  // Files the installation placed right in its folder belong to no product: the list of
  // placed files names them. The list goes with the installation it describes.
  if (std::optional<std::vector<pub::PlacedFile>> placed = pub::ReadPlacedFiles(installFolder_))
    for (const pub::PlacedFile& file : *placed)
      if (pub::LastDelimiter(file.path, "\\") == std::string::npos)
        DeleteFileW(tk::ToWide(installFolder_ + "\\" + file.path).c_str());
  DeleteFileW(tk::ToWide(installFolder_ + pub::kPlacedFilesPath).c_str());
  RemoveUninstaller();
  // Removed only when nothing else is left in it: a folder that still holds something stays.
  RemoveDirectoryW(tk::ToWide(installFolder_).c_str());
}

void UninstallEngine::RemoveUninstaller() {
  const std::wstring uninstaller = tk::ToWide(installFolder_ + kUninstallerPath);
  const std::wstring self = tk::ProgramPath();
  // The running uninstaller cannot delete itself; its copy in the temporary folder does.
  if (_wcsicmp(self.c_str(), uninstaller.c_str()) == 0) return;
  const std::wstring installSubfolder = uninstaller.substr(0, uninstaller.find_last_of(L'\\'));
  if (DeleteFileW(uninstaller.c_str()) || GetFileAttributesW(uninstaller.c_str()) == INVALID_FILE_ATTRIBUTES) {
    RemoveDirectoryW(installSubfolder.c_str());
    return;
  }
  // Another program runs it or holds it open (a second uninstaller window): the system deletes
  // it at the next restart, then its folder and the install folder, each only when empty then.
  if (!MoveFileExW(uninstaller.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return;
  MoveFileExW(installSubfolder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  MoveFileExW(tk::ToWide(installFolder_).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  leftForRestart_.push_back(tk::FromWide(uninstaller));
}

std::string LeftForRestartNote(const std::vector<std::string>& paths) {
  std::string note = "以下文件正被其他程序使用，将在重新启动计算机后删除：";
  for (const std::string& path : paths) note += "\r\n" + path;
  return note;
}

void UninstallEngine::DeleteRecord() {
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  registry.DeleteKey(kQuarnKey);
  if (registry.OpenKey(kUninstallKey, false)) {
    registry.CloseKey();
    registry.DeleteKey(kUninstallKey);
  }
}

void UninstallEngine::RemoveProducts(const pub::RemovalPlan& plan) {
  // Every service is taken down at once, each on a thread of its own. A command that did not
  // end within its bound is noted like any other that failed, and the removal goes on.
  const std::string systemFolder = pub::SystemDirectory();
  std::vector<std::unique_ptr<ServiceTakedown>> takedowns;
  for (const pub::ServiceRemoval& removal : plan.services)
    takedowns.push_back(std::make_unique<ServiceTakedown>(removal, bounds, systemFolder, commandShowMode));
  // Each folder is deleted by the crew as soon as nothing holds it any more, while this thread
  // waits for the next service: the deleting, not the commands, is most of a removal's time.
  pub::LockedProgress shared(progress_);
  pub::Progress* const progress = shared.Get();
  pub::JobCrew deleters(kDeleters);
  const auto remove = [&](const std::string& folder) {
    deleters.Add([this, folder, progress] { DeleteProduct(folder, progress); });
  };
  // The web applications run in Tomcat: they go once it has stopped, while the others stop.
  for (auto& takedown : takedowns)
    if (takedown->Removal().isTomcat) takedown->WaitStopped(progress);
  for (const std::string& folder : plan.deleteFirst) remove(folder);
  for (auto& takedown : takedowns) {
    takedown->WaitRemoved(progress);
    // Only while it still names this installation's Java: someone may have pointed it
    // elsewhere since.
    if (takedown->Removal().isTomcat && hadSetJavaHome_ &&
        pub::SystemVariableHolds("JAVA_HOME", installFolder_ + "\\java"))
      pub::RemoveEnvVariable("JAVA_HOME", false);
    remove(takedown->Removal().folder);
  }
  for (const std::string& folder : plan.deleteLast) remove(folder);
  deleters.Finish();
}

void UninstallEngine::DeleteProduct(const std::string& folder, pub::Progress* progress) {
  try {
    pub::DeleteFolderTree(folder, progress);
    // A command's console can hold its folder for a moment after the command has ended.
    for (int retry = 0; retry < kDeleteRetries && FolderExists(folder); ++retry) {
      Sleep(kDeleteRetryMs);
      pub::DeleteFolderTree(folder, progress);
    }
  } catch (const std::exception&) {
    // The next product is removed all the same.
  }
}

}  // namespace setup
