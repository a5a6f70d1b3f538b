#include "setup/win/LogProgress.h"

#include <windows.h>

#include "common/portable/WorkingFolders.h"

#include "toolkit/core/CodePage.h"

namespace pub {

RunLogFile::RunLogFile(const setup::RunFolders& folders)
    : path_(folders.logPath.empty() ? DefaultPath(folders.stagingFolder) : folders.logPath) {}

std::wstring RunLogFile::DefaultPath(const std::string& stagingFolder) {
  // Start-up has settled the temporary folder, by its short name where GBK cannot hold it.
  const std::string settled = TempFolderOf(stagingFolder);
  if (!settled.empty()) return tk::ToWide(settled + "quarn-setup.log");
  wchar_t temp[MAX_PATH + 2] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  std::wstring folder = length == 0 || length > MAX_PATH + 1 ? std::wstring(L"C:\\") : std::wstring(temp, length);
  if (folder.back() != L'\\') folder += L'\\';
  return folder + L"quarn-setup.log";
}

void RunLogFile::Append(const std::string& utf8Line) {
  // FILE_APPEND_DATA alone: every write lands at the end, whoever else appends.
  // The link itself is opened, never what it leads to: in a temporary folder anyone may have
  // put a link or a second name of another file at the log's name, and this program may run
  // with rights its maker lacks. Such a log is not written; the run goes on.
  HANDLE file = CreateFileW(path_.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;  // a log that cannot be written must not stop the run
  BY_HANDLE_FILE_INFORMATION facts = {};
  if (!GetFileInformationByHandle(file, &facts) || (facts.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
      facts.nNumberOfLinks > 1) {
    CloseHandle(file);
    return;
  }
  std::string line = utf8Line + "\r\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

LocalTime Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void LogProgress::Outcome(RunStep step, bool succeeded, const std::string& reason) {
  if (succeeded)
    log_.StepDone(Now(), step);
  else
    log_.StepFailed(Now(), step, reason);
}

void AppendLogNote(const setup::RunFolders& folders, const std::string& text) {
  RunLogFile file(folders);
  RunLog(file).Note(Now(), text);
}

}  // namespace pub
