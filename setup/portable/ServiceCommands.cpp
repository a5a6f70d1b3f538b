#include "setup/portable/ServiceCommands.h"

namespace pub {

ToolCommand DatabaseToolCommand(const std::string& databaseFolder, ServiceToolAction action,
                                const CommandBounds& bounds) {
  const std::string bin = databaseFolder + "\\bin";
  const std::string option = action == ServiceToolAction::Install ? "--install " : "--remove ";
  return ProgramCommand(bin + "\\mysqld-nt.exe", option + kDatabaseService, bin, bounds.databaseToolSeconds);
}

ToolCommand WebServerToolCommand(const std::string& systemFolder, const std::string& webServerFolder,
                                 ServiceToolAction action, const CommandBounds& bounds) {
  const std::string bin = webServerFolder + "\\bin";
  const std::string verb = action == ServiceToolAction::Install ? "install " : "remove ";
  return BatchCommand(systemFolder, bin + "\\service.bat", verb + kWebServerService, bin, bounds.webServerToolSeconds);
}

ToolCommand NetCommand(const std::string& systemFolder, NetVerb verb, const std::string& service,
                       const CommandBounds& bounds) {
  const bool start = verb == NetVerb::Start;
  return ProgramCommand(systemFolder + "\\net.exe", (start ? "start " : "stop ") + service, systemFolder,
                        start ? bounds.netStartSeconds : bounds.netStopSeconds);
}

}  // namespace pub
