// A service as the service control manager reported it, or why it could not be asked.
#pragma once

#include <cstdint>
#include <string>

namespace pub {

// The service control manager's state numbers (SERVICE_STOPPED ... SERVICE_PAUSED).
enum ServiceStateCode : uint32_t {
  kServiceStopped = 1,
  kServiceStartPending = 2,
  kServiceStopPending = 3,
  kServiceRunning = 4,
  kServiceContinuePending = 5,
  kServicePausePending = 6,
  kServicePaused = 7,
};

struct ServiceState {
  bool exists = false;
  uint32_t state = 0;         // a ServiceStateCode; 0 when it does not exist or could not be asked
  uint32_t exitCode = 0;      // the service's Win32 exit code, or its own when it gives one
  uint32_t processId = 0;     // 0 unless it runs
  // Why the service manager could not be asked about it (it could not be reached, it refused,
  // the name was refused): then nothing is known, neither that it runs nor that it is stopped.
  std::string queryProblem;

  bool QueryFailed() const { return !queryProblem.empty(); }
  bool Running() const;
  bool Stopped() const;  // also when it is not registered; never when it could not be asked
  // "已停止，退出码 1067 ……", "没有注册" or "无法查询服务状态：……": what a person is told of it.
  std::string Describe() const;
};

}  // namespace pub
