// One service taken down on a thread of its own: "net stop", a bounded wait until it has let
// go of its files, then the command that unregisters it. The caller waits for either stage
// and reports what happened on its own thread, so several services stop side by side while
// the caller deletes what none of them holds.
#pragma once

#include <future>
#include <string>
#include <thread>

#include "common/portable/Progress.h"
#include "common/portable/RemovalPlan.h"
#include "common/win/ExternalCommands.h"
#include "common/win/Services.h"

namespace setup {

class ServiceTakedown {
 public:
  ServiceTakedown(const pub::ServiceRemoval& removal, unsigned stopWaitMs);
  ServiceTakedown(const ServiceTakedown&) = delete;
  ServiceTakedown& operator=(const ServiceTakedown&) = delete;
  ~ServiceTakedown();  // waits for the thread

  // Blocks until the service has stopped (or the wait ran out); reports the stop once.
  void WaitStopped(pub::Progress* progress);
  // Blocks until the unregistering command has ended; reports the stop (if not yet) and it.
  void WaitRemoved(pub::Progress* progress);
  const pub::ServiceRemoval& Removal() const { return removal_; }

 private:
  struct Stopped {
    pub::CommandOutcome stop;
    pub::ServiceState state;
  };
  void Run(unsigned stopWaitMs);

  const pub::ServiceRemoval removal_;
  std::promise<Stopped> stoppedPromise_;
  std::promise<pub::CommandOutcome> removedPromise_;
  std::shared_future<Stopped> stopped_;
  std::shared_future<pub::CommandOutcome> removed_;
  bool stopReported_ = false;
  std::thread thread_;
};

}  // namespace setup
