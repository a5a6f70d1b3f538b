// The services an installation registers, as the service control manager reports them.
#pragma once

#include <windows.h>

namespace e2e {

struct ServiceState {
  bool exists = false;
  DWORD state = 0;  // SERVICE_RUNNING, SERVICE_STOPPED ...
};

ServiceState QueryService(const wchar_t* name);

// The start type the service will have at the next start of the service manager: the "Start"
// value of its registry key (0 when there is none). Writing it does not change the running
// manager's own copy, which QueryService reports.
DWORD RegisteredStartType(const wchar_t* name);

// Waits until the service runs.
bool WaitForRunning(const wchar_t* name, unsigned timeoutMs);

// Stops the service if it runs, waits for its process to end and deletes it, whatever state
// a test left it in. True when it is gone.
bool RemoveService(const wchar_t* name);

}  // namespace e2e
