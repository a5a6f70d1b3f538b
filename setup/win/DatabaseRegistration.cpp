#include "setup/win/DatabaseRegistration.h"

#include "setup/portable/ServiceCommands.h"
#include "common/win/ExternalCommands.h"
#include "setup/win/LogProgress.h"
#include "common/win/Services.h"
#include "toolkit/core/FileStream.h"

namespace setup {
DatabaseRegistration RegisterDatabaseAgain(const std::string& installFolder, const RunFolders& folders,
                                           const pub::CommandBounds& bounds) {
  DatabaseRegistration result;
  const std::string database = installFolder + "\\MySQL5";
  if (!tk::FolderExists(database)) return result;  // a package without the database
  const pub::ToolCommand command = pub::DatabaseToolCommand(database, pub::ServiceToolAction::Install, bounds);
  const pub::CommandOutcome outcome = pub::RunCommand(command, pub::kShowWindow);
  const pub::ServiceState service = pub::QueryService(pub::kDatabaseService);
  result.registered = service.exists;
  std::string note = pub::CommandNote(command.commandLine, outcome);
  if (result.registered) {
    if (outcome.Finished() && outcome.exitCode != 0) note += "（服务已经注册）";
  } else {
    result.problem = std::string("数据库服务 ") + pub::kDatabaseService + "：" + service.Describe() + "。\r\n" +
                     pub::CommandNote(command.commandLine, outcome) +
                     "。\r\n网站的数据库无法作为服务运行，请再次运行安装程序修复。";
  }
  pub::AppendLogNote(folders, note);
  return result;
}

}  // namespace setup
