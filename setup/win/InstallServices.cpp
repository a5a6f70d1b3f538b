// The install run's service steps: the installed services stopped before files are replaced,
// registered and started again from the installed tree, JAVA_HOME for the web server, and the
// wait for the site.
#include <windows.h>

#include <memory>

#include "common/win/Environment.h"
#include "common/win/ExternalCommands.h"
#include "common/win/Services.h"
#include "common/win/SystemFolders.h"
#include "setup/portable/ServiceCommands.h"
#include "setup/win/InstallEngine.h"
#include "setup/win/InstallRecordKeys.h"
#include "setup/win/InstallationRecord.h"
#include "setup/win/ServiceTakedown.h"
#include "setup/win/SiteCheck.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/Registry.h"

namespace setup {
namespace {

// What a failure of the services step adds: the installation is there to be repaired or removed.
constexpr const char* kRepairOrRemove = "\r\n安装没有完成：可以再次运行安装程序修复，或者将其卸载。";
// What a service that did not stop for a repair adds: nothing was replaced.
constexpr const char* kNotReplaced = "安装没有开始替换文件。请稍后再运行安装程序。";

}  // namespace

using tk::FolderExists;

void InstallEngine::StopServices() {
  // A repair puts files over the programs and data of running services, which Windows does
  // not allow and which would race with their writes: they are stopped, side by side as a
  // removal stops them, and their stop waited for (bounded) before any file is placed; they
  // are started again below. A service the service manager could not be asked about is not
  // taken as stopped: the run stops with the reason.
  std::vector<std::unique_ptr<ServiceTakedown>> stops;
  for (const char* service : {pub::kWebServerService, pub::kDatabaseService}) {
    const pub::ServiceState state = pub::QueryService(service);
    if (state.Stopped()) continue;
    if (state.QueryFailed())
      throw InstallFailed(std::string("服务 ") + service + " 没有停止（" + state.Describe() + "）\r\n" + kNotReplaced);
    if (stops.empty()) Announce("正在停止已安装的服务......");
    stops.push_back(std::make_unique<ServiceTakedown>(service, bounds, pub::SystemDirectory(), commandShowMode));
  }
  std::string problems;
  for (auto& stop : stops) {
    const std::string problem = stop->WaitStopped(&progress_);
    if (!problem.empty()) problems += (problems.empty() ? "" : "\r\n") + problem;
  }
  if (!problems.empty()) throw InstallFailed(problems + "\r\n" + kNotReplaced);
}

void InstallEngine::FindOurJavaHome() {
  // A repair finds the JAVA_HOME an earlier run of ours created: it stays ours to remove.
  javaHomeWasOurs_ =
      ReadInstallationRecord().hadSetJavaHome && pub::SystemVariableHolds("JAVA_HOME", folder_ + "\\java");
  hadSetJavaHome_ = javaHomeWasOurs_;
}

pub::CommandOutcome InstallEngine::RunServiceCommand(const pub::ToolCommand& command) {
  const pub::CommandOutcome outcome = pub::RunLogged(command, &progress_, commandShowMode);
  if (outcome.timedOut) throw InstallFailed(pub::CommandNote(command.commandLine, outcome) + "。" + kRepairOrRemove);
  return outcome;
}

void InstallEngine::RegisterAndStart(const std::string& service, const std::string& title,
                                     const pub::ToolCommand& registration) {
  const pub::CommandOutcome registered = RunServiceCommand(registration);
  const pub::ToolCommand start = pub::NetCommand(pub::SystemDirectory(), pub::NetVerb::Start, service, bounds);
  const pub::CommandOutcome started = RunServiceCommand(start);
  Announce("正在等待" + title + "服务启动......");
  pub::ServiceState state = pub::WaitWhileStarting(service, bounds.serviceStateSeconds * 1000);
  progress_.Note("服务 " + service + "：" + state.Describe());
  if (state.Running()) return;
  std::string reason = "服务 " + service + " 没有运行（" + state.Describe() + "）。";
  if (!registered.started) reason += "\r\n" + pub::CommandNote(registration.commandLine, registered);
  if (!started.started) reason += "\r\n" + pub::CommandNote(start.commandLine, started);
  throw InstallFailed(reason + kRepairOrRemove);
}

void InstallEngine::RegisterDatabase() {
  if (!FolderExists(folder_ + "\\MySQL5")) return;
  Announce("正在设置Mysql服务项......");
  RegisterAndStart(pub::kDatabaseService, "Mysql",
                   pub::DatabaseToolCommand(folder_ + "\\MySQL5", pub::ServiceToolAction::Install, bounds));
}

void InstallEngine::SetJavaHome() {
  if (!FolderExists(folder_ + "\\tomcat5")) return;
  hadSetJavaHome_ = pub::SetEnvVariable("JAVA_HOME", folder_ + "\\java", false, false) || javaHomeWasOurs_;
}

void InstallEngine::RegisterWebServer() {
  if (!FolderExists(folder_ + "\\tomcat5")) return;
  Announce("正在设置tomcat服务项......");
  RegisterAndStart(pub::kWebServerService, "tomcat",
                   pub::WebServerToolCommand(pub::SystemDirectory(), folder_ + "\\tomcat5",
                                             pub::ServiceToolAction::Install, bounds));
  // The service key lives under SYSTEM, which Windows keeps in one view for every program.
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(kTomcatServiceKey, true))
    throw InstallFailed(std::string("无法写入注册表键 HKEY_LOCAL_MACHINE") + kTomcatServiceKey);
  registry.WriteInteger("Start", 2);  // automatic start
  registry.CloseKey();
}

void InstallEngine::WaitForSite() {
  if (!FolderExists(folder_ + "\\tomcat5")) return;
  Announce(std::string("正在等待网站 ") + pub::kSiteAddress + " 响应......");
  const bool answered = pub::WaitForSite(pub::kSitePort, bounds.siteSeconds * 1000);
  progress_.Note(std::string("网站 ") + pub::kSiteAddress + (answered ? "：有响应" : "：没有响应"));
  if (!answered)
    throw InstallFailed(std::string("网站 ") + pub::kSiteAddress + " 在 " + std::to_string(bounds.siteSeconds) +
                        " 秒内没有响应（服务 " + pub::kWebServerService + "：" +
                        pub::QueryService(pub::kWebServerService).Describe() + "）。" + kRepairOrRemove);
}

}  // namespace setup
