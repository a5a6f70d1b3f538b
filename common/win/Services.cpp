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

const char* StateName(uint32_t state) {
  switch (state) {
    case SERVICE_STOPPED: return "已停止";
    case SERVICE_START_PENDING: return "正在启动";
    case SERVICE_STOP_PENDING: return "正在停止";
    case SERVICE_RUNNING: return "正在运行";
    case SERVICE_CONTINUE_PENDING: return "正在继续";
    case SERVICE_PAUSE_PENDING: return "正在暂停";
    case SERVICE_PAUSED: return "已暂停";
  }
  return "未知";
}

ServiceState WaitFor(const std::string& name, unsigned timeoutMs, const std::function<bool(const ServiceState&)>& done) {
  ServiceState state;
  walk::PollUntil([&] { return done(state = QueryService(name)); }, timeoutMs, kServicePollMs);
  return state;
}

}  // namespace

bool ServiceExists(const std::string& name) { return QueryService(name).exists; }

bool ServiceState::Running() const { return exists && state == SERVICE_RUNNING; }
bool ServiceState::Stopped() const { return !exists || state == SERVICE_STOPPED; }

std::string ServiceState::Describe() const {
  if (!exists) return "没有注册";
  std::string text = StateName(state);
  if (state == SERVICE_STOPPED && exitCode != NO_ERROR)
    text += "，退出码 " + std::to_string(exitCode) + "（" + tk::SysErrorMessage(exitCode) + "）";
  return text;
}

ServiceState QueryService(const std::string& name) {
  ServiceState result;
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return result;
  SC_HANDLE service = OpenServiceW(manager, tk::ToWide(name).c_str(), SERVICE_QUERY_STATUS);
  if (service) {
    result.exists = true;
    SERVICE_STATUS_PROCESS status = {};
    DWORD needed = 0;
    if (QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                             &needed)) {
      result.state = status.dwCurrentState;
      result.exitCode = status.dwWin32ExitCode == ERROR_SERVICE_SPECIFIC_ERROR ? status.dwServiceSpecificExitCode
                                                                               : status.dwWin32ExitCode;
      result.processId = status.dwProcessId;
    }
    CloseServiceHandle(service);
  }
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
