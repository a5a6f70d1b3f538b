// The commands the runs start, decided before they are started: every program by its full path,
// quoted, in a folder of its own and with its bound; what a person is told of their outcomes;
// and what is known of a service the service manager could not be asked about.
#include <gtest/gtest.h>

#include "common/portable/ServiceCommands.h"
#include "common/portable/ServiceState.h"

using pub::ServiceToolAction;

namespace {

const char kSystem[] = "C:\\Windows\\system32";

pub::CommandBounds SmallBounds() {
  pub::CommandBounds bounds;
  bounds.netStartSeconds = 1;
  bounds.netStopSeconds = 2;
  bounds.databaseToolSeconds = 3;
  bounds.webServerToolSeconds = 4;
  bounds.serviceStateSeconds = 5;
  bounds.takedownMarginSeconds = 6;
  return bounds;
}

}  // namespace

TEST(ServiceCommands, EachToolByItsFullPathQuotedInItsOwnFolderWithItsOwnBound) {
  const pub::CommandBounds bounds = SmallBounds();
  // A folder with a blank and a GBK name, as the folder page allows.
  const std::string folder = "D:\\网站 quarn\\MySQL5";
  const pub::ToolCommand database = pub::DatabaseToolCommand(folder, ServiceToolAction::Install, bounds);
  EXPECT_EQ(database.program, folder + "\\bin\\mysqld-nt.exe");
  EXPECT_EQ(database.commandLine, "\"" + folder + "\\bin\\mysqld-nt.exe\" --install mysqlquarn");
  EXPECT_EQ(database.workingFolder, folder + "\\bin");
  EXPECT_EQ(database.boundSeconds, 3u);

  const pub::ToolCommand web =
      pub::WebServerToolCommand(kSystem, "D:\\网站 quarn\\tomcat5", ServiceToolAction::Install, bounds);
  EXPECT_EQ(web.program, "C:\\Windows\\system32\\cmd.exe");
  EXPECT_EQ(web.commandLine,
            "\"C:\\Windows\\system32\\cmd.exe\" /d /s /c \"\"D:\\网站 quarn\\tomcat5\\bin\\service.bat\" install tomcatquarn\"");
  EXPECT_EQ(web.workingFolder, "D:\\网站 quarn\\tomcat5\\bin");
  EXPECT_EQ(web.boundSeconds, 4u);

  const pub::ToolCommand start = pub::NetCommand(kSystem, pub::NetVerb::Start, "tomcatquarn", bounds);
  const pub::ToolCommand stop = pub::NetCommand(kSystem, pub::NetVerb::Stop, "mysqlquarn", bounds);
  EXPECT_EQ(start.program, "C:\\Windows\\system32\\net.exe");
  EXPECT_EQ(start.commandLine, "\"C:\\Windows\\system32\\net.exe\" start tomcatquarn");
  EXPECT_EQ(stop.commandLine, "\"C:\\Windows\\system32\\net.exe\" stop mysqlquarn");
  EXPECT_EQ(start.workingFolder, kSystem);
  EXPECT_EQ(start.boundSeconds, 1u);
  EXPECT_EQ(stop.boundSeconds, 2u);

  // A removal's takedown: the stop and its wait, the unregistering command, and a margin.
  EXPECT_EQ(bounds.TakedownStopSeconds(), 2u + 5u + 6u);
  EXPECT_EQ(bounds.TakedownSeconds(web.boundSeconds), 2u + 5u + 6u + 4u);
  // The defaults are minutes, for the real bundle on a slow machine.
  const pub::CommandBounds real;
  for (unsigned seconds : {real.netStartSeconds, real.netStopSeconds, real.databaseToolSeconds, real.webServerToolSeconds})
    EXPECT_GE(seconds, 120u);
}

TEST(ServiceCommands, OnlyAPathOnADriveOrAShareIsFull) {
  for (const char* full : {"C:\\Windows\\system32\\net.exe", "d:\\quarn\\bin", "\\\\server\\share\\tool.exe"})
    EXPECT_TRUE(pub::IsFullPath(full)) << full;
  for (const char* partial : {"", "net.exe", "bin\\service.bat", ".\\service.bat", "\\quarn\\bin", "C:quarn", "C:",
                              "\\\\\\x", "1:\\x"})
    EXPECT_FALSE(pub::IsFullPath(partial)) << partial;
}

TEST(ServiceCommands, AnOutcomeSaysWhetherTheCommandRanEndedInTimeOrWasEnded) {
  pub::CommandOutcome ended;
  ended.started = true;
  ended.exitCode = 1;
  EXPECT_TRUE(ended.Finished());
  EXPECT_EQ(pub::CommandNote("\"C:\\q\\bin\\mysqld-nt.exe\" --install mysqlquarn", ended),
            "命令 \"C:\\q\\bin\\mysqld-nt.exe\" --install mysqlquarn：退出码 1");

  pub::CommandOutcome late;
  late.started = true;
  late.timedOut = true;
  late.boundSeconds = 300;
  EXPECT_FALSE(late.Finished());
  EXPECT_EQ(late.Describe(), "在 300 秒内没有结束，已被终止");
  late.endError = 5;
  EXPECT_EQ(late.Describe().rfind("在 300 秒内没有结束，无法终止：", 0), 0u) << "and why it could not be ended";

  pub::CommandOutcome thrown;
  thrown.startProblem = "内存不足";
  EXPECT_FALSE(thrown.Finished());
  EXPECT_EQ(thrown.Describe(), "无法运行：内存不足") << "the error raised, not the text of error 0";
}

// Could not ask, not registered, stopped and running are four different answers: only the
// second and third let a repair go on without stopping it.
TEST(ServiceState, AServiceThatCouldNotBeAskedAboutIsNeitherStoppedNorRunning) {
  pub::ServiceState refused;
  refused.queryProblem = "OpenService：拒绝访问。";
  EXPECT_TRUE(refused.QueryFailed());
  EXPECT_FALSE(refused.Stopped());
  EXPECT_FALSE(refused.Running());
  EXPECT_EQ(refused.Describe(), "无法查询服务状态：OpenService：拒绝访问。");

  const pub::ServiceState unregistered;
  EXPECT_TRUE(unregistered.Stopped());
  EXPECT_FALSE(unregistered.Running());
  EXPECT_EQ(unregistered.Describe(), "没有注册");

  pub::ServiceState running;
  running.exists = true;
  running.state = pub::kServiceRunning;
  EXPECT_TRUE(running.Running());
  EXPECT_FALSE(running.Stopped());
  EXPECT_EQ(running.Describe(), "正在运行");

  pub::ServiceState stopping = running;
  stopping.state = pub::kServiceStopPending;
  EXPECT_FALSE(stopping.Running());
  EXPECT_FALSE(stopping.Stopped());
  EXPECT_EQ(stopping.Describe(), "正在停止");
}
