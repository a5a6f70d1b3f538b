#include "tests/win/support/ServiceSupport.h"

#include <memory>
#include <vector>

namespace testing_support {
namespace {

struct ScHandleCloser {
  void operator()(SC_HANDLE handle) const { CloseServiceHandle(handle); }
};
using ScHandle = std::unique_ptr<std::remove_pointer<SC_HANDLE>::type, ScHandleCloser>;

ScHandle OpenService(const std::wstring& name, DWORD access) {
  ScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return nullptr;
  return ScHandle(::OpenServiceW(manager.get(), name.c_str(), access));
}

bool StatusOf(SC_HANDLE service, SERVICE_STATUS_PROCESS* status) {
  DWORD needed;
  return QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(status), sizeof *status,
                              &needed);
}

}  // namespace

std::wstring BuiltProgram(const wchar_t* fileName) {
  wchar_t path[MAX_PATH];
  std::wstring folder(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  folder.erase(folder.find_last_of(L'\\') + 1);
  return folder + fileName;
}

long RunCommand(const std::wstring& commandLine, const std::wstring& folder) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::wstring line = commandLine;
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.empty() ? nullptr : folder.c_str(),
                      &startup, &process))
    return -1;
  DWORD exitCode = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &exitCode);
  else
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<long>(exitCode);
}

ServiceInfo QueryService(const std::wstring& name) {
  ServiceInfo info;
  ScHandle service = OpenService(name, SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG);
  if (!service) return info;
  info.exists = true;
  SERVICE_STATUS status;
  if (QueryServiceStatus(service.get(), &status)) info.state = status.dwCurrentState;
  DWORD needed = 0;
  QueryServiceConfigW(service.get(), nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed ? needed : 1);
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
  if (needed && QueryServiceConfigW(service.get(), config, needed, &needed)) {
    info.type = config->dwServiceType;
    info.startType = config->dwStartType;
    info.binaryPath = config->lpBinaryPathName ? config->lpBinaryPathName : L"";
  }
  return info;
}

bool WaitForServiceState(const std::wstring& name, DWORD state) {
  for (int i = 0; i < 100; ++i) {
    if (QueryService(name).state == state) return true;
    Sleep(100);
  }
  return false;
}

void DeleteServiceIfPresent(const std::wstring& name) {
  ScHandle service = OpenService(name, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
  if (!service) return;
  SERVICE_STATUS_PROCESS status = {};
  if (StatusOf(service.get(), &status) && status.dwCurrentState != SERVICE_STOPPED) {
    HANDLE process = status.dwProcessId ? OpenProcess(SYNCHRONIZE, FALSE, status.dwProcessId) : nullptr;
    SERVICE_STATUS ignored;
    ControlService(service.get(), SERVICE_CONTROL_STOP, &ignored);
    for (int i = 0; i < 100 && StatusOf(service.get(), &status) && status.dwCurrentState != SERVICE_STOPPED; ++i)
      Sleep(100);
    if (process) {
      WaitForSingleObject(process, 10000);
      CloseHandle(process);
    }
  }
  DeleteService(service.get());
  service.reset();
  for (int i = 0; i < 100 && QueryService(name).exists; ++i) Sleep(100);
}

}  // namespace testing_support
