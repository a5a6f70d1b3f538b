// Asking the service control manager about a service, and waiting for it to reach a state.
#pragma once

#include <cstdint>
#include <string>

namespace pub {

// Whether a service of that name is registered.
bool ServiceExists(const std::string& name);

// A service as the service control manager sees it.
struct ServiceState {
  bool exists = false;
  uint32_t state = 0;         // SERVICE_STOPPED, SERVICE_RUNNING ...; 0 when it does not exist
  uint32_t exitCode = 0;      // the service's Win32 exit code, or its own when it gives one
  uint32_t processId = 0;     // 0 unless it runs
  bool Running() const;
  bool Stopped() const;       // also when it does not exist
  // "已停止，退出码 1067 ……" or "没有注册": what a person is told of it.
  std::string Describe() const;
};

ServiceState QueryService(const std::string& name);

// Asks again until the service runs, or has stopped, for at most timeoutMs; the window's
// messages run meanwhile. Returns the last state seen.
ServiceState WaitWhileStarting(const std::string& name, unsigned timeoutMs);
// The same until it has stopped (or is gone).
ServiceState WaitUntilStopped(const std::string& name, unsigned timeoutMs);

}  // namespace pub
