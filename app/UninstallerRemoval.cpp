// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-movefileexw
// https://learn.microsoft.com/windows/win32/api/bcrypt/nf-bcrypt-bcryptgenrandom
#include "app/UninstallerRemoval.h"

#include <windows.h>

#include <optional>
#include <string>

#include "app/StartUp.h"
#include "setup/portable/UninstallerRemovalTask.h"
#include "common/portable/WorkingFolders.h"
#include "common/win/FolderSecurity.h"
#include "setup/win/LogProgress.h"
#include "setup/win/InstallationRecord.h"
#include "setup/win/UninstallEngine.h"
#include "toolkit/core/Cng_win32.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Sha256.h"
#include "toolkit/core/Errors.h"
#include "toolkit/win/ProgramPath.h"

namespace app {
namespace {

constexpr const wchar_t* kTaskVariable = L"QUARN_REMOVE_UNINSTALLER";
constexpr DWORD kUninstallerEndWaitMs = 60000;
constexpr int kDeleteAttempts = 50;
constexpr DWORD kDeleteRetryMs = 100;

std::wstring FolderOf(const std::wstring& path) {
  size_t cut = path.find_last_of(L'\\');
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

std::string GbkNameOf(const std::wstring& path) { return tk::FromWide(path.substr(path.find_last_of(L'\\') + 1)); }

// Started in the temporary folder: a current folder inherited from inside the install folder
// would keep that folder from being removed.
bool StartHidden(std::wstring commandLine, const std::wstring& folder) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW | DETACHED_PROCESS, nullptr,
                      folder.c_str(), &startup, &info))
    return false;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return true;
}

// 128 random bits as 32 hexadecimal digits, from the system's generator; "" when it fails.
std::string FreshToken() {
  unsigned char bytes[16] = {};
  try {
    if (!BCRYPT_SUCCESS(tk::CngFunctions().GenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
      return std::string();
  } catch (const std::exception&) {
    return std::string();
  }
  return tk::HexText(bytes, sizeof bytes);
}

bool AnyLink(const std::wstring& uninstaller) {
  const std::wstring installSubfolder = FolderOf(uninstaller);
  return pub::IsLink(uninstaller) || pub::IsLink(installSubfolder) || pub::IsLink(FolderOf(installSubfolder));
}

void RemoveNamedUninstaller(const std::wstring& uninstaller) {
  // The file can stay locked for a moment after its process has ended.
  for (int attempt = 0; attempt < kDeleteAttempts && !DeleteFileW(uninstaller.c_str()); ++attempt) {
    if (GetFileAttributesW(uninstaller.c_str()) == INVALID_FILE_ATTRIBUTES) break;
    Sleep(kDeleteRetryMs);
  }
  const std::wstring installSubfolder = FolderOf(uninstaller);
  RemoveDirectoryW(installSubfolder.c_str());
  RemoveDirectoryW(FolderOf(installSubfolder).c_str());  // only when nothing else is left in it
}

// This copy and its folder: the command processor deletes them once this process has ended;
// a delete at the next restart is the last resort. The command processor is named by its
// full path, and runs from the temporary folder, outside the folder it removes.
void RemoveThisCopy() {
  const std::wstring self = tk::ProgramPath();
  const std::wstring ownFolder = FolderOf(self);
  MoveFileExW(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  MoveFileExW(ownFolder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  wchar_t system[MAX_PATH + 1];
  const UINT systemLength = GetSystemDirectoryW(system, MAX_PATH + 1);
  if (systemLength == 0 || systemLength > MAX_PATH) return;
  StartHidden(L"\"" + std::wstring(system, systemLength) + L"\\cmd.exe\" /c del /f /q \"" + self + L"\" & rd /q \"" +
                  ownFolder + L"\"",
              FolderOf(ownFolder));
}

}  // namespace

namespace {

// Starts the copy that removes this uninstaller once it has ended; false when it cannot.
bool StartRemovalCopy(const std::wstring& self) {
  pub::UninstallerRemovalTask task;
  task.waitFor = GetCurrentProcessId();
  task.token = FreshToken();
  if (task.token.empty() || !tk::FromWideChecked(self, &task.uninstaller)) return false;
  // The copy runs with this program's rights: it goes into a folder of its own, made anew with
  // the protected access list, never to a name in the temporary folder that someone else could
  // have put there first, or could swap before it starts.
  const std::string temp = pub::TempFolderOf(SettledFolders().stagingFolder);
  if (temp.empty()) return false;
  const std::string folder = temp + pub::RemovalCopyFolderName(task.waitFor);
  if (!pub::MakeFreshPrivateFolder(folder).empty()) return false;
  const std::wstring copy = tk::ToWide(folder + "\\" + pub::RemovalCopyFileName(task.token));
  if (!CopyFileW(self.c_str(), copy.c_str(), TRUE)) {
    RemoveDirectoryW(tk::ToWide(folder).c_str());
    return false;
  }
  SetEnvironmentVariableW(kTaskVariable, tk::ToWide(pub::FormatRemovalTask(task)).c_str());
  const bool started = StartHidden(L"\"" + copy + L"\"", tk::ToWide(temp));
  SetEnvironmentVariableW(kTaskVariable, nullptr);
  if (!started) {
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(tk::ToWide(folder).c_str());
  }
  return started;
}

}  // namespace

bool ScheduleUninstallerRemoval() {
  if (setup::InstallFolderOfRunningUninstaller().empty()) return false;
  const std::wstring self = tk::ProgramPath();
  if (StartRemovalCopy(self)) return false;
  // The system deletes them at the next start, the folders only when nothing else is left in them.
  const std::wstring installSubfolder = FolderOf(self);
  if (!MoveFileExW(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    pub::AppendLogNote(SettledFolders(), "无法删除卸载程序 " + tk::FromWide(self) + "：" + tk::SysErrorMessage(GetLastError()));
    return false;
  }
  MoveFileExW(installSubfolder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  MoveFileExW(FolderOf(installSubfolder).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  pub::AppendLogNote(SettledFolders(), setup::LeftForRestartNote({tk::FromWide(self)}));
  return true;
}

bool RemoveUninstallerIfAsked() {
  std::wstring text(32768, L'\0');
  const DWORD length = GetEnvironmentVariableW(kTaskVariable, &text[0], static_cast<DWORD>(text.size()));
  if (length == 0 || length >= text.size()) return false;
  text.resize(length);
  // Nothing this start runs inherits it.
  SetEnvironmentVariableW(kTaskVariable, nullptr);

  std::optional<pub::UninstallerRemovalTask> task;
  std::string gbk;
  if (tk::FromWideChecked(text, &gbk)) task = pub::ParseRemovalTask(gbk);
  const std::wstring self = tk::ProgramPath();
  const std::wstring ownFolder = FolderOf(self);
  pub::RemovalTaskFacts facts;
  facts.ownFileName = GbkNameOf(self);
  facts.ownFolderName = GbkNameOf(ownFolder);
  facts.ownFolderPrivate = !pub::IsLink(ownFolder) && pub::OwnedByUs(ownFolder);
  // Not a copy an uninstaller started: an ordinary start, which deletes nothing for it.
  if (!task || !pub::IsScheduledCopy(*task, facts)) {
    pub::AppendLogNote(SettledFolders(), "环境变量 QUARN_REMOVE_UNINSTALLER 不是卸载程序为这个程序安排的任务，已忽略：" + tk::FromWide(text));
    return false;
  }
  if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, task->waitFor)) {
    WaitForSingleObject(process, kUninstallerEndWaitMs);
    CloseHandle(process);
  }
  const std::wstring uninstaller = tk::ToWide(task->uninstaller);
  const pub::InstallationRecordReading recorded = setup::ReadInstallationRecord();
  facts.recordExists = recorded.Exists();
  facts.recordedFolder = recorded.folder;
  facts.pathHoldsLink = AnyLink(uninstaller);
  const std::string problem = pub::RemovalTaskProblem(*task, facts);
  if (problem.empty())
    RemoveNamedUninstaller(uninstaller);
  else
    pub::AppendLogNote(SettledFolders(), problem);
  RemoveThisCopy();
  return true;
}

}  // namespace app
