// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-movefileexw
#include "app/UninstallerRemoval.h"

#include <windows.h>

#include <string>

#include "common/portable/ProcessValues.h"
#include "common/portable/WorkingFolders.h"
#include "common/win/FolderSecurity.h"
#include "setup/UninstallEngine.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/win/ProgramPath.h"

namespace app {
namespace {

constexpr const wchar_t* kTaskVariable = L"QUARN_REMOVE_UNINSTALLER";

std::wstring FolderOf(const std::wstring& path) {
  size_t cut = path.find_last_of(L'\\');
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

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

}  // namespace

void ScheduleUninstallerRemoval() {
  if (setup::InstallFolderOfRunningUninstaller().empty()) return;
  const std::wstring self = tk::ProgramPath();
  // The copy runs with this program's rights: it goes into a folder of its own, made anew with
  // the protected access list, never to a name in the temporary folder that someone else could
  // have put there first, or could swap before it starts.
  const std::string temp = pub::TempFolderOf(pub::Process().StagingFolder);
  if (temp.empty()) return;
  const std::string name = "quarn-uninstall-" + std::to_string(GetCurrentProcessId());
  const std::string folder = temp + name;
  if (!pub::MakeFreshPrivateFolder(folder).empty()) return;
  const std::wstring copy = tk::ToWide(folder + "\\" + name + ".exe");
  if (!CopyFileW(self.c_str(), copy.c_str(), TRUE)) return;
  const std::wstring task = std::to_wstring(GetCurrentProcessId()) + L"|" + self;
  SetEnvironmentVariableW(kTaskVariable, task.c_str());
  if (!StartHidden(L"\"" + copy + L"\"", tk::ToWide(temp))) DeleteFileW(copy.c_str());
  SetEnvironmentVariableW(kTaskVariable, nullptr);
}

bool RemoveUninstallerIfAsked() {
  wchar_t task[32768];
  DWORD length = GetEnvironmentVariableW(kTaskVariable, task, 32768);
  if (length == 0 || length >= 32768) return false;
  std::wstring text(task, length);
  size_t bar = text.find(L'|');
  if (bar == std::wstring::npos) return true;
  const DWORD waitFor = static_cast<DWORD>(std::wcstoul(text.substr(0, bar).c_str(), nullptr, 10));
  const std::wstring uninstaller = text.substr(bar + 1);
  if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, waitFor)) {
    WaitForSingleObject(process, 60000);
    CloseHandle(process);
  }
  // The file can stay locked for a moment after its process has ended.
  for (int attempt = 0; attempt < 50 && !DeleteFileW(uninstaller.c_str()); ++attempt) {
    if (GetFileAttributesW(uninstaller.c_str()) == INVALID_FILE_ATTRIBUTES) break;
    Sleep(100);
  }
  const std::wstring installFolder = FolderOf(uninstaller);
  RemoveDirectoryW(installFolder.c_str());
  RemoveDirectoryW(FolderOf(installFolder).c_str());  // only when nothing else is left in it
  // This copy and its folder: the command processor deletes them once this process has ended;
  // a delete at the next restart is the last resort. The command processor is named by its
  // full path, and runs from the temporary folder, outside the folder it removes.
  const std::wstring self = tk::ProgramPath();
  const std::wstring ownFolder = FolderOf(self);
  MoveFileExW(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  MoveFileExW(ownFolder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  wchar_t system[MAX_PATH + 1];
  const UINT systemLength = GetSystemDirectoryW(system, MAX_PATH + 1);
  if (systemLength == 0 || systemLength > MAX_PATH) return true;
  StartHidden(L"\"" + std::wstring(system, systemLength) + L"\\cmd.exe\" /c del /f /q \"" + self + L"\" & rd /q \"" +
                  ownFolder + L"\"",
              FolderOf(ownFolder));
  return true;
}

}  // namespace app
