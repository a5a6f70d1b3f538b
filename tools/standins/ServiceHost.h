// Runs the program as the service the service control manager started: connects to the
// manager, reports the states, and turns a stop request into an event the work waits on.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace standin {

class ServiceRun {
 public:
  virtual ~ServiceRun() = default;
  // Signalled when the manager asks the service to stop.
  virtual HANDLE StopEvent() const = 0;
  // The work calls this once it is ready (a server once it listens).
  virtual void ReportRunning() = 0;
};

// The service's work: runs until the stop event, returns 0 or a Win32 error code, which the
// manager records as the service's exit code.
using ServiceWork = std::function<DWORD(ServiceRun&)>;

// A control code of the service's own (128 to 255) that the manager passes on; true when the
// service understood it.
using ServiceCommand = std::function<bool(DWORD control)>;

// Returns when the service has stopped: 0, or 1 after a message on stderr when the program
// was not started by the service control manager.
int RunAsService(const std::wstring& name, ServiceWork work, ServiceCommand command = nullptr);

}  // namespace standin
