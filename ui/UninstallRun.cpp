// The uninstall run: services stopped and removed, JAVA_HOME removed when this installation
// set it, product folders deleted, the record deleted.
#include <windows.h>

#include "common/portable/GbkCase.h"
#include "common/portable/ProcessValues.h"
#include "common/portable/TreeDeleteGuard.h"
#include "common/win/Publicfunc.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/Registry.h"
#include "ui/CurrentFolder.h"
#include "ui/InstallRecordKeys.h"
#include "ui/SetupMainForm.h"

namespace ui {
namespace {

constexpr uint16_t kShowWindow = 5;  // SW_SHOW
constexpr int kDeleteRetries = 10;
constexpr DWORD kDeleteRetryMs = 200;

using tk::FolderExists;

// A recorded product name must name one folder right inside the install folder.
bool IsPlainFolderName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("\\/:") == std::string::npos;
}

}  // namespace

void TfSetupMainForm::RunUninstall() {
  pub::ProcessValues& process = pub::Process();
  std::string installPath;
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (registry.OpenKey(kVersionKey, false)) {
    installPath = registry.ValueExists("installpath") ? registry.ReadString("installpath") : std::string();
    HadSetJAVA_HOME = registry.ReadInteger("HadSetJAVA_HOME") != 0;
    try {
      process.InstalledFileCount = registry.ReadInteger("installfilecount");
    } catch (const tk::Exception&) {
      process.InstalledFileCount = 0;
    }
    registry.CloseKey();
  }
  if (registry.OpenKey(kProductKey, false)) {
    std::vector<std::string> names = registry.GetValueNames();
    registry.CloseKey();
    if (Gauge2) {  // none once the uninstall page has been released
      Gauge2->SetMinValue(0);
      Gauge2->SetMaxValue(process.InstalledFileCount);
      Gauge2->SetProgress(0);
    }
    // Without a recorded install folder, or with one that is a whole drive, no product step
    // runs: the paths would start at a drive's root.
    bool folderUsable = !pub::IsRefusedTreeDeletePath(installPath);
    for (auto name = names.rbegin(); folderUsable && name != names.rend(); ++name)
      if (IsPlainFolderName(*name)) UninstallProduct(installPath + "\\" + *name);
    // The install folder itself goes too when nothing else is left in it; a folder that
    // still holds something, or a drive, is never removed.
    if (folderUsable) RemoveDirectoryW(tk::ToWide(installPath).c_str());
    if (Label37) Label37->SetCaption("Quarn系统卸载成功!");
    if (Gauge2) Gauge2->SetProgress(Gauge2->MaxValue());
  }
  registry.DeleteKey(kQuarnKey);
  if (registry.OpenKey(kUninstallKey, false)) {
    registry.CloseKey();
    registry.DeleteKey(kUninstallKey);
  }
}

void TfSetupMainForm::UninstallProduct(const std::string& folder) {
  // Letter case is ignored; the trail bytes of double-byte characters are not letters.
  std::string upper = pub::GbkUpperCase(folder);
  if (upper.find("MYSQL") != std::string::npos) {
    pub::RunAndWait("net stop mysqlquarn", kShowWindow);
    pub::RunAndWait(folder + "\\bin\\mysqld-nt --remove mysqlquarn", kShowWindow);
  } else if (upper.find("TOMCAT") != std::string::npos) {
    pub::RunAndWait("net stop tomcatquarn", kShowWindow);
    try {
      CurrentFolder current;
      current.Change(folder + "\\bin");
      pub::RunAndWait(folder + "\\bin\\service.bat remove tomcatquarn", kShowWindow);
      current.Restore();
    } catch (const std::exception&) {
      // A tool folder that is gone leaves the service for the system to clean up.
    }
    if (HadSetJAVA_HOME) pub::RemoveEnvVariable("JAVA_HOME", false);
  }
  try {
    pub::DeleteFolderTree(folder, Gauge2, Label37);
    // A command's console can hold its folder for a moment after the command has ended.
    for (int retry = 0; retry < kDeleteRetries && FolderExists(folder); ++retry) {
      Sleep(kDeleteRetryMs);
      pub::DeleteFolderTree(folder, Gauge2, Label37);
    }
  } catch (const std::exception&) {
    // The next product is removed all the same.
  }
}

}  // namespace ui
