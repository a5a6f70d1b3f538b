// https://learn.microsoft.com/windows/win32/api/winsvc/nf-winsvc-openservicew
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

}  // namespace pub
