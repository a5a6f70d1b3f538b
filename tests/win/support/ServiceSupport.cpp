#include "tests/win/support/ServiceSupport.h"

#include <memory>
#include <vector>

#include "tests/e2e/driver/Files.h"
#include "tests/e2e/driver/Services.h"
#include "tests/e2e/driver/Wait.h"

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

}  // namespace

std::wstring BuiltProgram(const wchar_t* fileName) { return e2e::ProgramFolder() + fileName; }

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
  return e2e::WaitUntil([&] { return QueryService(name).state == state; }, 10000);
}

// The driver's removal, which also ends a service process that does not stop.
void DeleteServiceIfPresent(const std::wstring& name) { e2e::RemoveService(name.c_str()); }

}  // namespace testing_support
