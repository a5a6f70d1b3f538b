// https://learn.microsoft.com/windows/win32/api/processthreadsapi/nf-processthreadsapi-createprocessw
// https://learn.microsoft.com/windows/win32/procthread/job-objects
#include <windows.h>

#include <vector>

#include "common/win/ExternalCommands.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace pub {
namespace {

constexpr int kStartAttempts = 5;
constexpr DWORD kStartRetryMs = 300;
// The exit code a command ended at its bound is given.
constexpr UINT kEndedExitCode = ERROR_TIMEOUT;
// Once ended, how long its process may take to be gone: the system's own work, not the command's.
constexpr DWORD kEndWaitMs = 10000;

// A job whose processes all end when its last handle closes; null when the system makes none.
HANDLE MakeJob() {
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (!job) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) return job;
  CloseHandle(job);
  return nullptr;
}

CommandOutcome NotStarted(DWORD error) {
  CommandOutcome outcome;
  outcome.startError = error;
  return outcome;
}

}  // namespace

StartedCommand StartCommand(const ToolCommand& command, uint16_t showMode) {
  if (!IsFullPath(command.program) || !IsFullPath(command.workingFolder))
    return StartedCommand(command.commandLine, command.boundSeconds, NotStarted(ERROR_BAD_PATHNAME), nullptr, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showMode;
  const std::wstring program = tk::ToWide(command.program);
  const std::wstring wide = tk::ToWide(command.commandLine);
  const std::wstring folder = tk::ToWide(command.workingFolder);
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::vector<wchar_t> line;
  PROCESS_INFORMATION process = {};
  // No environment block: the child takes this program's, with what SetEnvVariable put there.
  // Started suspended, so that it is in its job before it can start anything itself.
  // A start can be refused for a moment (seen under Wine right after another program ended:
  // "internal error"); it is tried again, except for a program or folder that is not there.
  // CREATE_NO_WINDOW gives the command a new console of its own that has no window; it is
  // ignored beside CREATE_NEW_CONSOLE, so the two are never given together.
  const DWORD console = showMode == kHideWindow ? CREATE_NO_WINDOW : CREATE_NEW_CONSOLE;
  for (int attempt = 1;; ++attempt) {
    line.assign(wide.begin(), wide.end());
    line.push_back(L'\0');
    if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE,
                       console | CREATE_SUSPENDED | NORMAL_PRIORITY_CLASS, nullptr, folder.c_str(), &startup,
                       &process))
      break;
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY;
    if (missing || attempt == kStartAttempts)
      return StartedCommand(command.commandLine, command.boundSeconds, NotStarted(error), nullptr, nullptr);
    Sleep(kStartRetryMs);
  }
  // Without a job (a system that makes none, or a parent job that allows none inside it) the
  // command is still run, and ended alone at its bound.
  HANDLE job = MakeJob();
  if (job && !AssignProcessToJobObject(job, process.hProcess)) {
    CloseHandle(job);
    job = nullptr;
  }
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  CommandOutcome outcome;
  outcome.started = true;
  return StartedCommand(command.commandLine, command.boundSeconds, outcome, process.hProcess, job);
}

StartedCommand::StartedCommand(std::string commandLine, unsigned boundSeconds, CommandOutcome outcome, void* process,
                               void* job)
    : commandLine_(std::move(commandLine)),
      boundSeconds_(boundSeconds),
      startedAt_(GetTickCount64()),
      outcome_(std::move(outcome)),
      process_(process),
      job_(job) {}

StartedCommand::StartedCommand(StartedCommand&& other) noexcept
    : commandLine_(std::move(other.commandLine_)),
      boundSeconds_(other.boundSeconds_),
      startedAt_(other.startedAt_),
      outcome_(std::move(other.outcome_)),
      process_(other.process_),
      job_(other.job_) {
  other.process_ = nullptr;
  other.job_ = nullptr;
}

StartedCommand::~StartedCommand() { Finish(); }

CommandOutcome StartedCommand::Finish() {
  if (process_) {
    const uint64_t bound = uint64_t{boundSeconds_} * 1000;
    const uint64_t elapsed = GetTickCount64() - startedAt_;
    const DWORD remaining = elapsed >= bound ? 0 : static_cast<DWORD>(bound - elapsed);
    if (WaitForSingleObject(process_, remaining) == WAIT_OBJECT_0) {
      DWORD exitCode = 0;
      GetExitCodeProcess(process_, &exitCode);
      outcome_.exitCode = exitCode;
    } else {
      outcome_.timedOut = true;
      outcome_.boundSeconds = boundSeconds_;
      const BOOL ended = job_ ? TerminateJobObject(job_, kEndedExitCode) : TerminateProcess(process_, kEndedExitCode);
      if (!ended)
        outcome_.endError = GetLastError();
      else if (WaitForSingleObject(process_, kEndWaitMs) != WAIT_OBJECT_0)
        outcome_.endError = ERROR_TIMEOUT;
    }
    CloseHandle(process_);
    process_ = nullptr;
  }
  if (job_) {
    CloseHandle(job_);
    job_ = nullptr;
  }
  return outcome_;
}

CommandOutcome RunCommand(const ToolCommand& command, uint16_t showMode) {
  return StartCommand(command, showMode).Finish();
}

CommandOutcome RunLogged(const ToolCommand& command, Progress* progress, uint16_t showMode) {
  CommandOutcome outcome = RunCommand(command, showMode);
  if (progress) progress->Note(CommandNote(command.commandLine, outcome));
  return outcome;
}

}  // namespace pub
