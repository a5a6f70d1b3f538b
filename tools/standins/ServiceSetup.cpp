#include "tools/standins/ServiceSetup.h"

#include <windows.h>

#include <memory>

#include "tools/standins/Console.h"

namespace standin {
namespace {

struct ScHandleCloser {
  void operator()(SC_HANDLE handle) const { CloseServiceHandle(handle); }
};
using ScHandle = std::unique_ptr<std::remove_pointer<SC_HANDLE>::type, ScHandleCloser>;

ScHandle OpenManager(DWORD access) {
  ScHandle manager(OpenSCManagerW(nullptr, nullptr, access));
  if (!manager) PrintError(L"cannot open the service control manager: " + SystemMessage(GetLastError()));
  return manager;
}

std::wstring ParametersKey(const std::wstring& service) {
  return L"SYSTEM\\CurrentControlSet\\Services\\" + service + L"\\Parameters";
}

// Asks a running service to stop and waits a while for it to report so.
void StopIfRunning(SC_HANDLE service, const std::wstring& name) {
  SERVICE_STATUS status = {};
  if (!QueryServiceStatus(service, &status) || status.dwCurrentState == SERVICE_STOPPED) return;
  PrintLine(L"Stopping service '" + name + L"'...");
  ControlService(service, SERVICE_CONTROL_STOP, &status);
  for (int i = 0; i < 200 && status.dwCurrentState != SERVICE_STOPPED; ++i) {
    Sleep(100);
    if (!QueryServiceStatus(service, &status)) break;
  }
  if (status.dwCurrentState != SERVICE_STOPPED) PrintError(L"service '" + name + L"' did not stop; deleting it anyway");
}

}  // namespace

bool IsValidServiceName(const std::wstring& name) {
  return !name.empty() && name.size() <= 256 && name.find_first_of(L"/\\\"") == std::wstring::npos;
}

int InstallSelfAsService(const std::wstring& name) {
  ScHandle manager = OpenManager(SC_MANAGER_CREATE_SERVICE);
  if (!manager) return 1;
  std::wstring command = L"\"" + OwnPath() + L"\" --service \"" + name + L"\"";
  ScHandle service(CreateServiceW(manager.get(), name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                  SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                  command.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
  if (!service) {
    DWORD error = GetLastError();
    if (error == ERROR_SERVICE_EXISTS)
      PrintError(L"the service '" + name + L"' already exists; nothing changed");
    else
      PrintError(L"cannot install the service '" + name + L"': " + SystemMessage(error));
    return 1;
  }
  PrintLine(L"Service '" + name + L"' installed.");
  return 0;
}

int RemoveService(const std::wstring& name) {
  ScHandle manager = OpenManager(SC_MANAGER_CONNECT);
  if (!manager) return 1;
  ScHandle service(OpenServiceW(manager.get(), name.c_str(), SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE));
  if (!service) {
    DWORD error = GetLastError();
    if (error == ERROR_SERVICE_DOES_NOT_EXIST)
      PrintError(L"the service '" + name + L"' does not exist");
    else
      PrintError(L"cannot open the service '" + name + L"': " + SystemMessage(error));
    return 1;
  }
  StopIfRunning(service.get(), name);
  if (!DeleteService(service.get())) {
    PrintError(L"cannot remove the service '" + name + L"': " + SystemMessage(GetLastError()));
    return 1;
  }
  PrintLine(L"Service '" + name + L"' removed.");
  return 0;
}

bool WriteServiceParameter(const std::wstring& service, const std::wstring& value, const std::wstring& data) {
  DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return RegSetKeyValueW(HKEY_LOCAL_MACHINE, ParametersKey(service).c_str(), value.c_str(), REG_SZ, data.c_str(),
                         bytes) == ERROR_SUCCESS;
}

std::wstring ReadServiceParameter(const std::wstring& service, const std::wstring& value) {
  wchar_t data[1024];
  DWORD bytes = sizeof data;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, ParametersKey(service).c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, data,
                   &bytes) != ERROR_SUCCESS)
    return std::wstring();
  return data;
}

}  // namespace standin
