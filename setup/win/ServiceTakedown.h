// One service taken down on a thread of its own: "net stop", a bounded wait until it has let
// go of its files, then the command that unregisters it (a removal's), or nothing more (a
// repair's, which starts it again once the files are in place). The caller waits for either
// stage and reports what happened on its own thread, so several services stop side by side
// while the caller deletes or replaces what none of them holds. Every command has its bound,
// and so has each wait for a stage: a takedown that has not got there in time is reported as
// not ended, and its thread is let go with the state it shares, never with this object.
#pragma once

#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "setup/portable/CommandBounds.h"
#include "common/portable/Progress.h"
#include "setup/portable/RemovalPlan.h"
#include "common/portable/ServiceState.h"
#include "common/portable/ToolCommand.h"
#include "common/win/ExternalCommands.h"

namespace setup {

class ServiceTakedown {
 public:
  // systemFolder: where net.exe is; showMode: how the commands' consoles are shown.
  ServiceTakedown(const pub::ServiceRemoval& removal, const pub::CommandBounds& bounds,
                  const std::string& systemFolder, uint16_t showMode = pub::kShowWindow);
  // The service stopped and left registered.
  ServiceTakedown(const std::string& service, const pub::CommandBounds& bounds, const std::string& systemFolder,
                  uint16_t showMode = pub::kShowWindow);
  ServiceTakedown(const ServiceTakedown&) = delete;
  ServiceTakedown& operator=(const ServiceTakedown&) = delete;
  // Waits for the thread as long as the whole takedown may take, then lets it go.
  ~ServiceTakedown();

  // Blocks until the service has stopped, the wait for it ran out, or the stage's bound has
  // passed; reports the stop once. "" when the service has stopped; otherwise why not, naming
  // it (and the stop command when that did not end by itself).
  std::string WaitStopped(pub::Progress* progress);
  // Blocks until the unregistering command has ended or the takedown's bound has passed;
  // reports the stop (if not yet) and it.
  void WaitRemoved(pub::Progress* progress);
  const pub::ServiceRemoval& Removal() const { return removal_; }

 private:
  struct Stopped {
    pub::CommandOutcome stop;
    pub::ServiceState state;
  };
  // What the thread works on and fills in: the thread holds it as long as it runs, so a
  // thread let go never touches a takedown that is gone.
  struct Shared {
    pub::ServiceRemoval removal;
    pub::ToolCommand stop;
    unsigned stopWaitMs;
    uint16_t showMode;
    std::promise<Stopped> stopped;
    std::promise<pub::CommandOutcome> removed;
  };
  static void Run(const std::shared_ptr<Shared>& shared);
  // The time left until `seconds` after the takedown began.
  std::chrono::milliseconds Left(unsigned seconds) const;

  const pub::ServiceRemoval removal_;
  const pub::ToolCommand stop_;
  const unsigned stopStageSeconds_;
  const unsigned takedownSeconds_;
  const std::chrono::steady_clock::time_point began_;
  std::shared_future<Stopped> stopped_;
  std::shared_future<pub::CommandOutcome> removed_;
  bool stopReported_ = false;
  std::string stopProblem_;
  std::thread thread_;
};

}  // namespace setup
