// https://learn.microsoft.com/windows/win32/api/winsvc/nf-winsvc-openservicew
// https://learn.microsoft.com/windows/win32/api/winsvc/nf-winsvc-queryservicestatusex
#include "common/win/Services.h"

#include <windows.h>

#include "toolkit/core/CodePage.h"

namespace pub {

bool ServiceExists(const std::string& name) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return false;
  SC_HANDLE service = OpenServiceW(manager, tk::ToWide(name).c_str(), SERVICE_QUERY_STATUS);
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return service != nullptr;
}

uint32_t ServiceProcessId(const std::string& name) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return 0;
  SERVICE_STATUS_PROCESS status = {};
  SC_HANDLE service = OpenServiceW(manager, tk::ToWide(name).c_str(), SERVICE_QUERY_STATUS);
  DWORD needed = 0;
  if (service && !QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                       sizeof status, &needed))
    status.dwProcessId = 0;
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return status.dwProcessId;
}

}  // namespace pub
