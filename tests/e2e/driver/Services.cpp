// https://learn.microsoft.com/windows/win32/services/stopping-a-service
#include "tests/e2e/driver/Services.h"

#include <memory>
#include <string>
#include <type_traits>

#include "tests/e2e/driver/Wait.h"

namespace e2e {
namespace {

struct ServiceHandleCloser {
  void operator()(SC_HANDLE handle) const { CloseServiceHandle(handle); }
};
using ServiceHandle = std::unique_ptr<std::remove_pointer<SC_HANDLE>::type, ServiceHandleCloser>;

ServiceHandle Open(const wchar_t* name, DWORD access) {
  ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return nullptr;
  return ServiceHandle(OpenServiceW(manager.get(), name, access));
}

bool StatusOf(SC_HANDLE service, SERVICE_STATUS_PROCESS* status) {
  DWORD needed = 0;
  return QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(status), sizeof *status,
                              &needed);
}

}  // namespace

ServiceState QueryService(const wchar_t* name) {
  ServiceState result;
  ServiceHandle service = Open(name, SERVICE_QUERY_STATUS);
  if (!service) return result;
  result.exists = true;
  SERVICE_STATUS_PROCESS status = {};
  if (StatusOf(service.get(), &status)) result.state = status.dwCurrentState;
  return result;
}

DWORD RegisteredStartType(const wchar_t* name) {
  std::wstring key = std::wstring(L"SYSTEM\\CurrentControlSet\\Services\\") + name;
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"Start", RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
    return 0;
  return value;
}

bool WaitForRunning(const wchar_t* name, unsigned timeoutMs) {
  return WaitUntil([&] { return QueryService(name).state == SERVICE_RUNNING; }, timeoutMs);
}

bool RemoveService(const wchar_t* name) {
  ServiceHandle service = Open(name, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
  if (!service) return !QueryService(name).exists;
  SERVICE_STATUS_PROCESS status = {};
  if (StatusOf(service.get(), &status) && status.dwCurrentState != SERVICE_STOPPED) {
    HANDLE process = status.dwProcessId ? OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, status.dwProcessId)
                                        : nullptr;
    SERVICE_STATUS ignored;
    ControlService(service.get(), SERVICE_CONTROL_STOP, &ignored);
    WaitUntil([&] { return StatusOf(service.get(), &status) && status.dwCurrentState == SERVICE_STOPPED; });
    if (process) {
      // A service that does not stop must not outlive the test.
      if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
      CloseHandle(process);
    }
  }
  DeleteService(service.get());
  service.reset();
  return WaitUntil([&] { return !QueryService(name).exists; });
}

}  // namespace e2e
