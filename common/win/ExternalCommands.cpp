// https://learn.microsoft.com/windows/win32/api/processthreadsapi/nf-processthreadsapi-createprocessw
#include <windows.h>

#include <vector>

#include "common/win/ExternalCommands.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace pub {
namespace {

constexpr int kStartAttempts = 5;
constexpr DWORD kStartRetryMs = 300;

}  // namespace

StartedCommand StartCommand(const std::string& commandLine, uint16_t showMode, const std::string& workingFolder) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showMode;
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring wide = tk::ToWide(commandLine);
  std::vector<wchar_t> line(wide.begin(), wide.end());
  line.push_back(L'\0');
  const std::wstring folder = tk::ToWide(workingFolder);
  PROCESS_INFORMATION process = {};
  CommandOutcome outcome;
  // No environment block: the child takes this program's, with what SetEnvVariable put there.
  // A start can be refused for a moment (seen under Wine right after another program ended:
  // "internal error"); it is tried again, except for a program or folder that is not there.
  for (int attempt = 1;; ++attempt) {
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                       nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &process))
      break;
    outcome.startError = GetLastError();
    const bool missing = outcome.startError == ERROR_FILE_NOT_FOUND || outcome.startError == ERROR_PATH_NOT_FOUND ||
                         outcome.startError == ERROR_DIRECTORY;
    if (missing || attempt == kStartAttempts) return StartedCommand(commandLine, outcome, nullptr);
    Sleep(kStartRetryMs);
    // CreateProcessW may have written into the line.
    line.assign(wide.begin(), wide.end());
    line.push_back(L'\0');
  }
  CloseHandle(process.hThread);
  outcome.startError = 0;
  outcome.started = true;
  return StartedCommand(commandLine, outcome, process.hProcess);
}

StartedCommand::StartedCommand(StartedCommand&& other) noexcept
    : commandLine_(std::move(other.commandLine_)), outcome_(other.outcome_), process_(other.process_) {
  other.process_ = nullptr;
}

StartedCommand::~StartedCommand() { Finish(); }

CommandOutcome StartedCommand::Finish() {
  if (process_) {
    WaitForSingleObject(process_, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process_, &exitCode);
    outcome_.exitCode = exitCode;
    CloseHandle(process_);
    process_ = nullptr;
  }
  return outcome_;
}

CommandOutcome RunCommand(const std::string& commandLine, uint16_t showMode) {
  return StartCommand(commandLine, showMode).Finish();
}

std::string CommandOutcome::Describe() const {
  if (!started) return "无法运行：" + tk::SysErrorMessage(startError);
  return "退出码 " + std::to_string(exitCode);
}

std::string CommandNote(const std::string& commandLine, const CommandOutcome& outcome) {
  return "命令 " + commandLine + "：" + outcome.Describe();
}

CommandOutcome RunLogged(const std::string& commandLine, Progress* progress) {
  CommandOutcome outcome = RunCommand(commandLine, kShowWindow);
  if (progress) progress->Note(CommandNote(commandLine, outcome));
  return outcome;
}

uint32_t RunAndWait(const std::string& commandLine, uint16_t showMode) {
  return RunCommand(commandLine, showMode).exitCode;
}

}  // namespace pub
