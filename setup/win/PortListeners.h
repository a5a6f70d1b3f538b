// The sockets listening for TCP connections on this machine, with the processes that hold them.
#pragma once

#include <vector>

#include "setup/portable/PortCheck.h"

namespace pub {

// IPv4 and IPv6 listeners from the system's TCP table, each with its process id and that
// process's file name where the system tells them. Empty when the table cannot be read;
// EInOutError when the system's iphlpapi.dll cannot be loaded.
std::vector<PortListener> ListeningPorts();

}  // namespace pub
