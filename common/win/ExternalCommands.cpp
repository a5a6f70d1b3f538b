// https://learn.microsoft.com/windows/win32/api/processthreadsapi/nf-processthreadsapi-createprocessw
#include <windows.h>

#include <vector>

#include "common/win/ExternalCommands.h"
#include "toolkit/core/CodePage.h"

namespace pub {

uint32_t RunAndWait(const std::string& commandLine, uint16_t showMode) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showMode;
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring wide = tk::ToWide(commandLine);
  std::vector<wchar_t> line(wide.begin(), wide.end());
  line.push_back(L'\0');
  PROCESS_INFORMATION process = {};
  // No environment block: the child takes this program's, with what SetEnvVariable put there.
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                      nullptr, nullptr, &startup, &process))
    return 0;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exitCode;
}

}  // namespace pub
