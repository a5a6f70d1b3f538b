#include "setup/portable/RemovalPlan.h"

#include "common/portable/GbkCase.h"
#include "setup/portable/ServiceCommands.h"

namespace pub {
namespace {

bool IsPlainFolderName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("\\/:") == std::string::npos;
}

bool Holds(const std::string& upperName, const char* part) { return upperName.find(part) != std::string::npos; }

}  // namespace

RemovalPlan PlanRemoval(const std::string& installFolder, const std::vector<std::string>& products,
                        const std::string& systemFolder, const CommandBounds& bounds) {
  RemovalPlan plan;
  for (auto name = products.rbegin(); name != products.rend(); ++name) {
    if (!IsPlainFolderName(*name)) continue;
    const std::string folder = installFolder + "\\" + *name;
    const std::string upper = GbkUpperCase(*name);
    plan.folders.push_back(folder);
    if (Holds(upper, "MYSQL")) {
      plan.services.push_back(
          {kDatabaseService, folder, DatabaseToolCommand(folder, ServiceToolAction::Remove, bounds), false});
    } else if (Holds(upper, "TOMCAT")) {
      plan.services.push_back({kWebServerService, folder,
                               WebServerToolCommand(systemFolder, folder, ServiceToolAction::Remove, bounds), true});
    } else if (upper == "JAVA") {
      plan.deleteLast.push_back(folder);
    } else {
      plan.deleteFirst.push_back(folder);
    }
  }
  return plan;
}

}  // namespace pub
