#include <winsock2.h>
#include <ws2tcpip.h>

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

HttpAnswer HttpGet(const std::string& target, unsigned short port) {
  HttpAnswer answer;
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return answer;
  SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  DWORD timeout = 10000;
  setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string response;
  if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    std::string request = "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    send(connection, request.data(), static_cast<int>(request.size()), 0);
    char buffer[4096];
    for (int got; (got = recv(connection, buffer, sizeof buffer, 0)) > 0;) response.append(buffer, got);
  }
  closesocket(connection);
  WSACleanup();
  // "HTTP/1.1 200 OK\r\n...\r\n\r\nbody"
  size_t headEnd = response.find("\r\n\r\n");
  if (response.compare(0, 5, "HTTP/") != 0 || headEnd == std::string::npos) return answer;
  answer.status = atoi(response.c_str() + response.find(' ') + 1);
  answer.body = response.substr(headEnd + 4);
  return answer;
}

}  // namespace testing_support
