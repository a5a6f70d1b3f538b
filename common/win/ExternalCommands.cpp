// https://learn.microsoft.com/windows/win32/api/processthreadsapi/nf-processthreadsapi-createprocessw
#include <windows.h>

#include <vector>

#include "common/win/ExternalCommands.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace pub {

CommandOutcome RunCommand(const std::string& commandLine, uint16_t showMode) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showMode;
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring wide = tk::ToWide(commandLine);
  std::vector<wchar_t> line(wide.begin(), wide.end());
  line.push_back(L'\0');
  PROCESS_INFORMATION process = {};
  CommandOutcome outcome;
  // No environment block: the child takes this program's, with what SetEnvVariable put there.
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                      nullptr, nullptr, &startup, &process)) {
    outcome.startError = GetLastError();
    return outcome;
  }
  outcome.started = true;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  outcome.exitCode = exitCode;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return outcome;
}

std::string CommandOutcome::Describe() const {
  if (!started) return "无法运行：" + tk::SysErrorMessage(startError);
  return "退出码 " + std::to_string(exitCode);
}

uint32_t RunAndWait(const std::string& commandLine, uint16_t showMode) {
  return RunCommand(commandLine, showMode).exitCode;
}

}  // namespace pub
