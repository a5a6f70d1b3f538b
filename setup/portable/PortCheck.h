// Whether the ports the installed services will listen on are free, decided from plain
// inputs: what the package holds, who listens now, and the processes of our own services.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pub {

constexpr uint16_t kSitePort = 8080;
constexpr uint16_t kDefaultDatabasePort = 3306;

// A port one of our services will listen on once installed.
struct PlannedPort {
  uint16_t port = 0;
  std::string use;          // what it serves, as the message names it: "网站", "数据库"
  std::string service;      // the service that will listen there
  uint32_t servicePid = 0;  // that service's process when it runs now (a repair), else 0
};

// A socket listening now, as the system's TCP table shows it.
struct PortListener {
  uint16_t port = 0;
  uint32_t pid = 0;     // 0: the system does not say which process holds it
  std::string program;  // its file name, "" when not known
};

// The database server's port from the text of its my.ini: the last valid "port=" of the
// [mysqld] or [server] group, which the server reads; kDefaultDatabasePort when there is none.
uint16_t DatabasePortOf(const std::string& myIni);

// The ports of the services a package installs: the site's when it has a tomcat5 folder, the
// database's (from myIni, the text of its MySQL5/my.ini when it has one) when it has MySQL5.
// entryNames: the package's entry names, with '/'.
std::vector<PlannedPort> PortsOfPackage(const std::vector<std::string>& entryNames,
                                        const std::optional<std::string>& myIni);

// The message that stops a run because another program holds one of the ports, or "" when
// every port is free or held by our own services, which the run stops before it starts them
// again. A holder whose process is not known counts as ours only where our service for that
// very port runs now.
std::string PortsProblem(const std::vector<PlannedPort>& ports, const std::vector<PortListener>& listeners);

}  // namespace pub
