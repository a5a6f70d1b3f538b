// The removal's order, decided before anything is touched.
#include <gtest/gtest.h>

#include "setup/portable/RemovalPlan.h"

using pub::RemovalPlan;
using Folders = std::vector<std::string>;

namespace {

const char kSystem[] = "C:\\Windows\\system32";

RemovalPlan PlanRemoval(const std::string& installFolder, const std::vector<std::string>& products) {
  pub::CommandBounds bounds;
  bounds.databaseToolSeconds = 7;
  bounds.webServerToolSeconds = 9;
  return pub::PlanRemoval(installFolder, products, kSystem, bounds);
}

}  // namespace

TEST(RemovalPlan, WebApplicationsFirstJavaLastEachServicesFolderAfterItsCommand) {
  // As the registry lists the products of a whole installation.
  const RemovalPlan plan = PlanRemoval("C:\\quarn", {"eforum", "ecms", "eblog", "java", "MySQL5", "tomcat5"});
  EXPECT_EQ(plan.folders, (Folders{"C:\\quarn\\tomcat5", "C:\\quarn\\MySQL5", "C:\\quarn\\java", "C:\\quarn\\eblog",
                                   "C:\\quarn\\ecms", "C:\\quarn\\eforum"}));
  ASSERT_EQ(plan.services.size(), 2u);
  EXPECT_EQ(plan.services[0].service, "tomcatquarn");
  // Each command by its program's full path, in its own bin folder, with its own bound.
  const pub::ToolCommand& tomcat = plan.services[0].removeCommand;
  EXPECT_EQ(tomcat.program, "C:\\Windows\\system32\\cmd.exe");
  EXPECT_EQ(tomcat.commandLine,
            "\"C:\\Windows\\system32\\cmd.exe\" /d /s /c \"\"C:\\quarn\\tomcat5\\bin\\service.bat\" remove tomcatquarn\"");
  EXPECT_EQ(tomcat.workingFolder, "C:\\quarn\\tomcat5\\bin");
  EXPECT_EQ(tomcat.boundSeconds, 9u);
  EXPECT_TRUE(plan.services[0].isTomcat);
  EXPECT_EQ(plan.services[1].service, "mysqlquarn");
  const pub::ToolCommand& mysql = plan.services[1].removeCommand;
  EXPECT_EQ(mysql.program, "C:\\quarn\\MySQL5\\bin\\mysqld-nt.exe");
  EXPECT_EQ(mysql.commandLine, "\"C:\\quarn\\MySQL5\\bin\\mysqld-nt.exe\" --remove mysqlquarn");
  EXPECT_EQ(mysql.workingFolder, "C:\\quarn\\MySQL5\\bin");
  EXPECT_EQ(mysql.boundSeconds, 7u);
  EXPECT_FALSE(plan.services[1].isTomcat);
  EXPECT_EQ(plan.deleteFirst, (Folders{"C:\\quarn\\eblog", "C:\\quarn\\ecms", "C:\\quarn\\eforum"}));
  EXPECT_EQ(plan.services[0].folder, "C:\\quarn\\tomcat5");
  EXPECT_EQ(plan.services[1].folder, "C:\\quarn\\MySQL5");
  // Tomcat's command may run on Java.
  EXPECT_EQ(plan.deleteLast, (Folders{"C:\\quarn\\java"}));
}

TEST(RemovalPlan, AServiceIsToldByItsFolderNameInAnyCaseNeverByTheInstallFolder) {
  const RemovalPlan plan = PlanRemoval("D:\\MySQL and Tomcat sites", {"eforum", "TOMCAT5", "mysql", "Java"});
  ASSERT_EQ(plan.services.size(), 2u);
  EXPECT_EQ(plan.services[0].service, "mysqlquarn");
  EXPECT_EQ(plan.services[0].folder, "D:\\MySQL and Tomcat sites\\mysql");
  EXPECT_EQ(plan.services[1].service, "tomcatquarn");
  EXPECT_EQ(plan.services[1].folder, "D:\\MySQL and Tomcat sites\\TOMCAT5");
  EXPECT_EQ(plan.deleteFirst, (Folders{"D:\\MySQL and Tomcat sites\\eforum"}));
  EXPECT_EQ(plan.deleteLast, (Folders{"D:\\MySQL and Tomcat sites\\Java"}));
}

TEST(RemovalPlan, NamesThatWouldLeadOutOfTheInstallFolderAreLeftOut) {
  const RemovalPlan plan =
      PlanRemoval("C:\\quarn", {"", ".", "..", "..\\sibling", "../sibling", "C:\\victim", "C:victim", "a/b", "ecms"});
  EXPECT_EQ(plan.folders, (Folders{"C:\\quarn\\ecms"}));
  EXPECT_EQ(plan.deleteFirst, plan.folders);
  EXPECT_TRUE(plan.services.empty());
  EXPECT_TRUE(plan.deleteLast.empty());
}
