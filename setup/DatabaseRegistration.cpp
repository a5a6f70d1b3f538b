#include "setup/DatabaseRegistration.h"

#include "common/portable/ProcessValues.h"
#include "common/portable/RunLog.h"
#include "common/win/ExternalCommands.h"
#include "common/win/LogProgress.h"
#include "common/win/Services.h"
#include "toolkit/core/FileStream.h"

namespace setup {
namespace {

constexpr const char* kDatabaseService = "mysqlquarn";

void LogNote(const std::string& text) {
  pub::RunLogFile file(pub::Process().LogPath);
  pub::RunLog(file).Note(pub::Now(), text);
}

}  // namespace

DatabaseRegistration RegisterDatabaseAgain(const std::string& installFolder) {
  DatabaseRegistration result;
  const std::string database = installFolder + "\\MySQL5";
  if (!tk::FolderExists(database)) return result;  // a package without the database
  const std::string folder = database + "\\bin";
  const std::string commandLine = "\"" + folder + "\\mysqld-nt.exe\" --install " + kDatabaseService;
  const pub::CommandOutcome outcome = pub::StartCommand(commandLine, pub::kShowWindow, folder).Finish();
  const pub::ServiceState service = pub::QueryService(kDatabaseService);
  result.registered = service.exists;
  std::string note = pub::CommandNote(commandLine, outcome);
  if (result.registered) {
    if (outcome.started && outcome.exitCode != 0) note += "（服务已经注册）";
  } else {
    result.problem = std::string("数据库服务 ") + kDatabaseService + " 没有注册：命令 " + commandLine + "：" +
                     outcome.Describe() + "。\r\n网站的数据库无法作为服务运行，请再次运行安装程序修复。";
  }
  LogNote(note);
  return result;
}

}  // namespace setup
