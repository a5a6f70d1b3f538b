// Asking the service control manager about a service, and waiting for it to reach a state.
#pragma once

#include <string>

#include "common/portable/ServiceState.h"

namespace pub {

// The service's state; not registered only when the service manager says there is no such
// service. Any other failure to ask is kept in queryProblem with the system's reason.
ServiceState QueryService(const std::string& name);

// Asks again until the service runs, or has stopped, for at most timeoutMs; the window's
// messages run meanwhile. Returns the last state seen: one that could not be asked is asked
// again until the time is up.
ServiceState WaitWhileStarting(const std::string& name, unsigned timeoutMs);
// The same until it has stopped (or is not registered).
ServiceState WaitUntilStopped(const std::string& name, unsigned timeoutMs);

}  // namespace pub
