// How a recorded installation is taken apart, decided before anything is touched: which
// services go, with which commands, and in which order the product folders are deleted.
//
// A running service holds files: MySQL its own folder's, Tomcat its own, the web
// applications' and Java's. Every service is stopped and then unregistered from its own folder;
// the web applications go as soon as Tomcat has stopped (MySQL may still be stopping), a
// service's folder once its unregistering command has ended, Java once every such command has.
#pragma once

#include <string>
#include <vector>

#include "setup/portable/CommandBounds.h"
#include "common/portable/ToolCommand.h"

namespace pub {

struct ServiceRemoval {
  std::string service;        // "mysqlquarn" or "tomcatquarn"
  std::string folder;         // the product folder that provides it
  ToolCommand removeCommand;  // unregisters the service, run in the folder of its program
  bool isTomcat = false;      // it runs the web applications and Java; JAVA_HOME may go once it is unregistered
};

struct RemovalPlan {
  // Every product folder, in the order they are removed (last recorded first), for the check
  // of what stayed behind.
  std::vector<std::string> folders;
  std::vector<ServiceRemoval> services;   // in removal order; each folder goes after its command
  std::vector<std::string> deleteFirst;   // once Tomcat has stopped
  std::vector<std::string> deleteLast;    // once every unregistering command has ended
};

// installFolder: without a trailing '\'. products: the record's product names as the registry
// lists them. A name that is not one plain folder name (empty, ".", "..", holding '\', '/' or
// ':') is left out: it would lead outside the install folder. The service a folder provides
// is told by its own name (any letter case), never by the install folder's. systemFolder: where
// the command processor is, for the web server's batch file; bounds: how long each command may run.
RemovalPlan PlanRemoval(const std::string& installFolder, const std::vector<std::string>& products,
                        const std::string& systemFolder, const CommandBounds& bounds);

}  // namespace pub
