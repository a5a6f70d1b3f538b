// https://learn.microsoft.com/windows/win32/api/processthreadsapi/nf-processthreadsapi-createprocessw
#include "tests/e2e/driver/SetupProcess.h"

#include <tlhelp32.h>

#include <cwchar>
#include <vector>

#include "tests/e2e/driver/Files.h"
#include "toolkit/core/CodePage.h"

namespace e2e {

bool PlaceSetup(const std::wstring& folder, std::string* problem) {
  for (const wchar_t* name : {L"setup.exe", L"Setup.pak"}) {
    std::wstring source = ProgramFolder() + name;
    if (FileSize(source) <= 0) {
      *problem = tk::WideToUtf8(source) + " is missing or empty (build it: make demo-pak)";
      return false;
    }
    if (!CopyFileW(source.c_str(), (folder + name).c_str(), FALSE)) {
      *problem = "cannot copy " + tk::WideToUtf8(source) + " to " + tk::WideToUtf8(folder);
      return false;
    }
  }
  return true;
}

namespace {

// The driver's environment block with the changed variables in place of its own.
std::wstring EnvironmentBlock(const EnvironmentChanges& changes) {
  std::wstring block;
  wchar_t* own = GetEnvironmentStringsW();
  for (const wchar_t* entry = own; *entry; entry += wcslen(entry) + 1) {
    bool changed = false;
    for (const auto& change : changes)
      changed = changed || (_wcsnicmp(entry, change.first.c_str(), change.first.size()) == 0 &&
                            entry[change.first.size()] == L'=');
    if (!changed) block.append(entry).push_back(L'\0');
  }
  FreeEnvironmentStringsW(own);
  for (const auto& change : changes) block.append(change.first).append(L"=").append(change.second).push_back(L'\0');
  block.push_back(L'\0');
  return block;
}

EnvironmentChanges TempFolderChanges(const std::wstring& tempFolder) {
  if (tempFolder.empty()) return {};
  return {{L"TEMP", tempFolder}, {L"TMP", tempFolder}};
}

ULONGLONG CreationTime(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// The processes that `parent` started and that still run. A process id can have served an
// earlier program: one that began before `parent` is not its child.
std::vector<HANDLE> OpenChildren(HANDLE parent, DWORD parentId) {
  std::vector<HANDLE> children;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return children;
  const ULONGLONG parentCreated = CreationTime(parent);
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ParentProcessID != parentId || entry.th32ProcessID == parentId) continue;
    HANDLE child = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                               entry.th32ProcessID);
    if (!child) continue;
    if (CreationTime(child) >= parentCreated)
      children.push_back(child);
    else
      CloseHandle(child);
  }
  CloseHandle(snapshot);
  return children;
}

// Ends a process and then what it started, as ending a process tree does. Under Wine a child
// caught starting up when its parent is killed never finishes starting, and it would keep the
// test's output open. The parent's handle, still held, keeps its id from being given to
// another program while its children are looked up.
void EndTree(HANDLE process, DWORD id) {
  TerminateProcess(process, 1);
  WaitForSingleObject(process, 10000);
  for (HANDLE child : OpenChildren(process, id)) {
    EndTree(child, GetProcessId(child));
    CloseHandle(child);
  }
}

}  // namespace

SetupProcess::SetupProcess(const std::wstring& folder, const std::wstring& program, const std::wstring& arguments,
                           const std::wstring& tempFolder)
    : SetupProcess(folder, program, arguments, TempFolderChanges(tempFolder)) {}

SetupProcess::SetupProcess(const std::wstring& folder, const std::wstring& program, const std::wstring& arguments,
                           const EnvironmentChanges& changes) {
  std::wstring commandLine = L"\"" + folder + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::wstring environment = changes.empty() ? std::wstring() : EnvironmentBlock(changes);
  // Seen once under wine64: a start refused right after the previous program of the folder
  // ended. A person would simply start it again; so does the driver, a few times.
  for (int attempt = 0;; ++attempt) {
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                       environment.empty() ? nullptr : &environment[0], folder.c_str(), &startup, &info))
      break;
    if (attempt == 4) return;
    Pause(500);
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
}

SetupProcess::~SetupProcess() {
  End();
  if (process_) CloseHandle(process_);
}

bool SetupProcess::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool SetupProcess::WaitForExit(unsigned timeoutMs) {
  return process_ && WaitUntil([this] { return !Running(); }, timeoutMs);
}

DWORD SetupProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_, &code);
  return code;
}

void SetupProcess::End() {
  if (Running()) EndTree(process_, id_);
}

}  // namespace e2e
