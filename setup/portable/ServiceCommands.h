// The commands that register, start, stop and remove the bundle's two services, each by the
// full path of its program, in a folder of its own and with its bound from CommandBounds.
#pragma once

#include <string>

#include "setup/portable/CommandBounds.h"
#include "common/portable/ToolCommand.h"

namespace pub {

constexpr const char* kDatabaseService = "mysqlquarn";
constexpr const char* kWebServerService = "tomcatquarn";

enum class ServiceToolAction { Install, Remove };
enum class NetVerb { Start, Stop };

// databaseFolder\bin\mysqld-nt.exe --install|--remove mysqlquarn, run in its bin folder.
ToolCommand DatabaseToolCommand(const std::string& databaseFolder, ServiceToolAction action,
                                const CommandBounds& bounds);

// webServerFolder\bin\service.bat install|remove tomcatquarn through systemFolder's command
// processor, run in its bin folder (the batch file finds its tools from there).
ToolCommand WebServerToolCommand(const std::string& systemFolder, const std::string& webServerFolder,
                                 ServiceToolAction action, const CommandBounds& bounds);

// systemFolder\net.exe start|stop service, run in the system folder, so that it holds no
// folder of the installation or the staging folder open.
ToolCommand NetCommand(const std::string& systemFolder, NetVerb verb, const std::string& service,
                       const CommandBounds& bounds);

}  // namespace pub
