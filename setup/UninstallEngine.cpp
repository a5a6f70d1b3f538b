#include "setup/UninstallEngine.h"

#include <windows.h>

#include <optional>

#include "common/portable/GbkCase.h"
#include "common/portable/GbkText.h"
#include "common/portable/InstallFolderRule.h"
#include "common/portable/PathText.h"
#include "common/portable/PlacedFiles.h"
#include "common/win/FileTree.h"
#include "common/win/Publicfunc.h"
#include "common/win/PlacedFilesStore.h"
#include "common/win/Services.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/ProgramPath.h"
#include "toolkit/win/Registry.h"
#include "setup/CurrentFolder.h"
#include "setup/InstallRecordKeys.h"

namespace setup {
namespace {

constexpr int kDeleteRetries = 10;
constexpr unsigned kServiceStopWaitMs = 30000;
constexpr DWORD kDeleteRetryMs = 200;

using tk::FolderExists;

// A recorded product name must name one folder right inside the install folder.
bool IsPlainFolderName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("\\/:") == std::string::npos;
}

}  // namespace

UninstallEngine::Outcome UninstallEngine::Run() {
  std::string installPath;
  int32_t installedFiles = 0;
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (registry.OpenKey(kVersionKey, false)) {
    installPath = registry.ValueExists("installpath") ? registry.ReadString("installpath") : std::string();
    // A record whose writing stopped early may lack this value: then the variable is left.
    hadSetJavaHome_ = registry.ValueExists("HadSetJAVA_HOME") && registry.ReadInteger("HadSetJAVA_HOME") != 0;
    try {
      installedFiles = registry.ReadInteger("installfilecount");
    } catch (const tk::Exception&) {
      installedFiles = 0;
    }
    registry.CloseKey();
  }
  installFolder_ = pub::WithoutTrailingBackslash(installPath);
  if (!registry.OpenKey(kProductKey, false)) {
    DeleteRecord();
    if (progress_) progress_->Outcome(pub::RunStep::Remove, false, "没有找到安装记录，没有删除任何文件。");
    return Outcome::NothingRecorded;
  }
  std::vector<std::string> names = registry.GetValueNames();
  registry.CloseKey();
  if (progress_) progress_->Range(installedFiles);
  if (!pub::FolderPathProblem(installFolder_).empty()) {
    // No folder to remove from (none recorded, a drive, a relative path): product paths would
    // start wherever the current folder is. Nothing is removed; the record, which cannot lead
    // anywhere, goes.
    DeleteRecord();
    if (progress_) progress_->Outcome(pub::RunStep::Remove, false, kNoUsableFolderText);
    return Outcome::NoUsableFolder;
  }
  std::vector<std::string> folders;
  for (auto name = names.rbegin(); name != names.rend(); ++name)
    if (IsPlainFolderName(*name)) folders.push_back(installFolder_ + "\\" + *name);
  for (const std::string& folder : folders) UninstallProduct(folder);
  std::string left;
  for (const std::string& folder : folders)
    if (FolderExists(folder)) {
      std::string why = pub::WhyFolderRemains(folder);
      if (why.empty()) continue;
      if (progress_) progress_->Failure(folder, why);
      left += "\r\n" + folder + "\r\n    " + why;
    }
  // The record stays, so that the removal can be run again once the cause is gone.
  if (!left.empty()) {
    if (progress_) progress_->Outcome(pub::RunStep::Remove, false, "以下文件夹无法删除：" + left);
    throw UninstallIncomplete("Quarn系统没有完全卸载，以下文件夹无法删除：" + left +
                              "\r\n安装记录已保留，排除原因后可以再次卸载。");
  }
  // Once every product is gone: the uninstaller, then the install folder itself when nothing
  // else is left in it (a folder that still holds something is never removed).
  // Files the installation placed right in its folder belong to no product: the list of
  // placed files names them. The list goes with the installation it describes.
  if (std::optional<std::vector<pub::PlacedFile>> placed = pub::ReadPlacedFiles(installFolder_))
    for (const pub::PlacedFile& file : *placed)
      if (pub::LastDelimiter(file.path, "\\") == std::string::npos)
        DeleteFileW(tk::ToWide(installFolder_ + "\\" + file.path).c_str());
  DeleteFileW(tk::ToWide(installFolder_ + pub::kPlacedFilesPath).c_str());
  RemoveUninstaller();
  RemoveDirectoryW(tk::ToWide(installFolder_).c_str());
  if (progress_) {
    progress_->Complete();
    progress_->Outcome(pub::RunStep::Remove, true, std::string());
  }
  DeleteRecord();
  return Outcome::Removed;
}

void UninstallEngine::RemoveUninstaller() {
  const std::wstring uninstaller = tk::ToWide(installFolder_ + kUninstallerPath);
  const std::wstring self = tk::ProgramPath();
  // The running uninstaller cannot delete itself; its copy in the temporary folder does.
  if (_wcsicmp(self.c_str(), uninstaller.c_str()) == 0) return;
  DeleteFileW(uninstaller.c_str());
  RemoveDirectoryW(uninstaller.substr(0, uninstaller.find_last_of(L'\\')).c_str());
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

void UninstallEngine::StopService(const std::string& service) {
  pub::RunLogged("net stop " + service, progress_);
  // A service still stopping holds its files open: the folder could not be deleted yet.
  pub::ServiceState state = pub::WaitUntilStopped(service, kServiceStopWaitMs);
  if (progress_) progress_->Note("服务 " + service + "：" + state.Describe());
}

void UninstallEngine::UninstallProduct(const std::string& folder) {
  // Letter case is ignored; the trail bytes of double-byte characters are not letters.
  // Program paths are quoted: an unquoted path with a blank would start "C:\Program.exe".
  std::string upper = pub::GbkUpperCase(folder);
  if (upper.find("MYSQL") != std::string::npos) {
    StopService("mysqlquarn");
    pub::RunLogged("\"" + folder + "\\bin\\mysqld-nt\" --remove mysqlquarn", progress_);
  } else if (upper.find("TOMCAT") != std::string::npos) {
    StopService("tomcatquarn");
    try {
      CurrentFolder current;
      current.Change(folder + "\\bin");
      pub::RunLogged("\"" + folder + "\\bin\\service.bat\" remove tomcatquarn", progress_);
      current.Restore();
    } catch (const std::exception&) {
      // A tool folder that is gone leaves the service for the system to clean up.
    }
    // Only while it still names this installation's Java: someone may have pointed it
    // elsewhere since.
    if (hadSetJavaHome_ && pub::SystemVariableHolds("JAVA_HOME", installFolder_ + "\\java"))
      pub::RemoveEnvVariable("JAVA_HOME", false);
  }
  try {
    pub::DeleteFolderTree(folder, progress_);
    // A command's console can hold its folder for a moment after the command has ended.
    for (int retry = 0; retry < kDeleteRetries && FolderExists(folder); ++retry) {
      Sleep(kDeleteRetryMs);
      pub::DeleteFolderTree(folder, progress_);
    }
  } catch (const std::exception&) {
    // The next product is removed all the same.
  }
}

}  // namespace setup
