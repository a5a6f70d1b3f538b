// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-movefileexw
#include "app/UninstallerRemoval.h"

#include <windows.h>

#include <string>

#include "toolkit/win/ProgramPath.h"

namespace app {
namespace {

constexpr const wchar_t* kTaskVariable = L"QUARN_REMOVE_UNINSTALLER";

std::wstring FolderOf(const std::wstring& path) {
  size_t cut = path.find_last_of(L'\\');
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

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
  const std::wstring self = tk::ProgramPath();
  const std::wstring installFolder = FolderOf(self);
  if (_wcsicmp(NameOf(self).c_str(), L"Uninstall.exe") != 0 || _wcsicmp(NameOf(installFolder).c_str(), L"install") != 0)
    return;
  wchar_t temp[MAX_PATH + 1];
  if (!GetTempPathW(MAX_PATH + 1, temp)) return;
  const std::wstring copy = std::wstring(temp) + L"quarn-uninstall-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
  if (!CopyFileW(self.c_str(), copy.c_str(), FALSE)) return;
  const std::wstring task = std::to_wstring(GetCurrentProcessId()) + L"|" + self;
  SetEnvironmentVariableW(kTaskVariable, task.c_str());
  if (!StartHidden(L"\"" + copy + L"\"", temp)) DeleteFileW(copy.c_str());
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
  const std::wstring self = tk::ProgramPath();
  MoveFileExW(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  StartHidden(L"cmd.exe /c del /f /q \"" + self + L"\"", FolderOf(self));
  return true;
}

}  // namespace app
