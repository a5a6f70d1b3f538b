// https://learn.microsoft.com/windows/win32/api/winsvc/nf-winsvc-queryservicestatusex
#include "common/win/Services.h"

#include <windows.h>

#include <functional>

#include "common/win/WalkSupport.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace pub {
namespace {

constexpr DWORD kServicePollMs = 100;

static_assert(kServiceStopped == SERVICE_STOPPED && kServiceRunning == SERVICE_RUNNING &&
                  kServicePaused == SERVICE_PAUSED,
              "the portable state numbers are the service manager's");

ServiceState WaitFor(const std::string& name, unsigned timeoutMs, const std::function<bool(const ServiceState&)>& done) {
  ServiceState state;
  walk::PollUntil([&] { return done(state = QueryService(name)); }, timeoutMs, kServicePollMs);
  return state;
}

// Why asking failed: the call that failed and the system's words for its error.
std::string QueryProblem(const char* call, DWORD error) {
  return std::string(call) + "：" + tk::SysErrorMessage(error);
}

}  // namespace

ServiceState QueryService(const std::string& name) {
  ServiceState result;
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) {
    result.queryProblem = QueryProblem("OpenSCManager", GetLastError());
    return result;
  }
  SC_HANDLE service = OpenServiceW(manager, tk::ToWide(name).c_str(), SERVICE_QUERY_STATUS);
  if (!service) {
    const DWORD error = GetLastError();
    if (error != ERROR_SERVICE_DOES_NOT_EXIST) result.queryProblem = QueryProblem("OpenService", error);
    CloseServiceHandle(manager);
    return result;
  }
  result.exists = true;
  SERVICE_STATUS_PROCESS status = {};
  DWORD needed = 0;
  if (QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                           &needed)) {
    result.state = status.dwCurrentState;
    result.exitCode = status.dwWin32ExitCode == ERROR_SERVICE_SPECIFIC_ERROR ? status.dwServiceSpecificExitCode
                                                                             : status.dwWin32ExitCode;
    result.processId = status.dwProcessId;
  } else {
    result.queryProblem = QueryProblem("QueryServiceStatusEx", GetLastError());
  }
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return result;
}

ServiceState WaitWhileStarting(const std::string& name, unsigned timeoutMs) {
  return WaitFor(name, timeoutMs, [](const ServiceState& state) { return state.Running() || state.Stopped(); });
}

ServiceState WaitUntilStopped(const std::string& name, unsigned timeoutMs) {
  return WaitFor(name, timeoutMs, [](const ServiceState& state) { return state.Stopped(); });
}

}  // namespace pub
