// How a recorded installation is taken apart, decided before anything is touched: which
// services go, with which commands, and in which order the product folders are deleted.
//
// A service holds its product's files while it runs (Tomcat also the web applications' and
// Java's), so every service is stopped before any folder is deleted. The commands that
// unregister the services then run while the folders no such command uses are deleted; the
// services' own folders and Java go once those commands have ended.
#pragma once

#include <string>
#include <vector>

namespace pub {

struct ServiceRemoval {
  std::string service;        // "mysqlquarn" or "tomcatquarn"
  std::string folder;         // the product folder that provides it
  std::string removeCommand;  // unregisters the service; its program path is quoted
  std::string workingFolder;  // the command's current folder, "" for the program's own
  bool isTomcat = false;      // JAVA_HOME may go once it is unregistered
};

struct RemovalPlan {
  // Every product folder, in the order they are removed (last recorded first), for the check
  // of what stayed behind.
  std::vector<std::string> folders;
  std::vector<ServiceRemoval> services;   // stopped, then unregistered, in removal order
  std::vector<std::string> deleteFirst;   // while the unregistering commands run
  std::vector<std::string> deleteLast;    // once they have ended
};

// installFolder: without a trailing '\'. products: the record's product names as the registry
// lists them. A name that is not one plain folder name (empty, ".", "..", holding '\', '/' or
// ':') is left out: it would lead outside the install folder. The service a folder provides
// is told by its own name (any letter case), never by the install folder's.
RemovalPlan PlanRemoval(const std::string& installFolder, const std::vector<std::string>& products);

}  // namespace pub
