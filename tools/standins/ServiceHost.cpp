#include "tools/standins/ServiceHost.h"

#include <mutex>

#include "tools/standins/Console.h"

namespace standin {
namespace {

// The manager calls the service's main function and its control handler on threads of its
// own; the state they share lives here.
class Host : public ServiceRun {
 public:
  Host(std::wstring name, ServiceWork work, ServiceCommand command)
      : name_(std::move(name)),
        work_(std::move(work)),
        command_(std::move(command)),
        stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Host() override { CloseHandle(stop_); }

  HANDLE StopEvent() const override { return stop_; }

  void ReportRunning() override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (status_.dwCurrentState == SERVICE_START_PENDING) Report(SERVICE_RUNNING, NO_ERROR, 0);
  }

  void Main() {
    handle_ = RegisterServiceCtrlHandlerExW(name_.c_str(), &Host::Control, this);
    if (!handle_) return;
    status_.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      Report(SERVICE_START_PENDING, NO_ERROR, 10000);
    }
    DWORD result = work_(*this);
    std::lock_guard<std::mutex> lock(mutex_);
    Report(SERVICE_STOPPED, result, 0);
  }

 private:
  static DWORD WINAPI Control(DWORD control, DWORD, void*, void* context) {
    Host* host = static_cast<Host*>(context);
    switch (control) {
      case SERVICE_CONTROL_STOP:
      case SERVICE_CONTROL_SHUTDOWN: {
        std::lock_guard<std::mutex> lock(host->mutex_);
        if (host->status_.dwCurrentState != SERVICE_STOPPED) host->Report(SERVICE_STOP_PENDING, NO_ERROR, 10000);
        SetEvent(host->stop_);
        return NO_ERROR;
      }
      case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
      default:
        if (control >= 128 && control <= 255 && host->command_) {
          std::lock_guard<std::mutex> lock(host->mutex_);
          if (host->status_.dwCurrentState == SERVICE_RUNNING && host->command_(control)) return NO_ERROR;
        }
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
  }

  // Called with mutex_ held.
  void Report(DWORD state, DWORD exitCode, DWORD waitHint) {
    status_.dwCurrentState = state;
    status_.dwWin32ExitCode = exitCode;
    status_.dwWaitHint = waitHint;
    status_.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    status_.dwCheckPoint = (state == SERVICE_RUNNING || state == SERVICE_STOPPED) ? 0 : status_.dwCheckPoint + 1;
    SetServiceStatus(handle_, &status_);
  }

  std::wstring name_;
  ServiceWork work_;
  ServiceCommand command_;
  HANDLE stop_;
  std::mutex mutex_;
  SERVICE_STATUS_HANDLE handle_ = nullptr;
  SERVICE_STATUS status_ = {};
};

Host* g_host = nullptr;  // ServiceMain takes no context

void WINAPI ServiceMain(DWORD, wchar_t**) { g_host->Main(); }

}  // namespace

int RunAsService(const std::wstring& name, ServiceWork work, ServiceCommand command) {
  Host host(name, std::move(work), std::move(command));
  g_host = &host;
  std::wstring tableName = name;
  SERVICE_TABLE_ENTRYW table[] = {{&tableName[0], &ServiceMain}, {nullptr, nullptr}};
  if (!StartServiceCtrlDispatcherW(table)) {
    DWORD error = GetLastError();
    g_host = nullptr;
    if (error == ERROR_FAILED_SERVICE_CONTROLLER_CONNECT)
      PrintError(L"--service is for the service control manager; use 'net start " + name + L"'");
    else
      PrintError(L"cannot connect to the service control manager: " + SystemMessage(error));
    return 1;
  }
  g_host = nullptr;
  return 0;
}

}  // namespace standin
