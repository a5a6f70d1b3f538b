// The service tools' stand-ins, used with the command lines the install and uninstall runs
// give them: services really registered, started by `net start`, stopped and deleted, and the
// application server's stand-in serving the installed site on 127.0.0.1:8080 while it runs.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/win/support/FileTreeSupport.h"
#include "tests/win/support/ServiceSupport.h"
#include "toolkit/core/CodePage.h"

using namespace testing_support;

namespace {

const wchar_t kMysqlService[] = L"quarntest_mysql";
const wchar_t kTomcatService[] = L"quarntest_tomcat";

std::wstring Net(const wchar_t* verb, const wchar_t* service) {
  return std::wstring(L"net ") + verb + L" " + service;
}

class MysqldStandin : public ::testing::Test {
 protected:
  void SetUp() override { DeleteServiceIfPresent(kMysqlService); }
  void TearDown() override { DeleteServiceIfPresent(kMysqlService); }

  long Mysqld(const std::wstring& arguments) {
    return RunCommand(L"\"" + BuiltProgram(L"mysqld-nt.exe") + L"\" " + arguments);
  }
};

TEST_F(MysqldStandin, InstallStartStopRemove) {
  ASSERT_EQ(Mysqld(L"--install quarntest_mysql"), 0);
  ServiceInfo info = QueryService(kMysqlService);
  ASSERT_TRUE(info.exists);
  EXPECT_EQ(info.state, static_cast<DWORD>(SERVICE_STOPPED));
  EXPECT_EQ(info.type, static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS));
  EXPECT_EQ(info.binaryPath, L"\"" + BuiltProgram(L"mysqld-nt.exe") + L"\" --service \"quarntest_mysql\"");

  RunCommand(Net(L"start", kMysqlService));
  EXPECT_TRUE(WaitForServiceState(kMysqlService, SERVICE_RUNNING));
  RunCommand(Net(L"stop", kMysqlService));
  EXPECT_TRUE(WaitForServiceState(kMysqlService, SERVICE_STOPPED));

  // The uninstall run names the tool by its folder, without the extension.
  std::wstring program = BuiltProgram(L"mysqld-nt");
  EXPECT_EQ(RunCommand(program + L" --remove quarntest_mysql"), 0);
  EXPECT_FALSE(QueryService(kMysqlService).exists);
}

// The wizard runs the install command a second time on its final page: it must fail and leave
// the running service as it is.
TEST_F(MysqldStandin, RefusalsChangeNothing) {
  ASSERT_EQ(Mysqld(L"--install quarntest_mysql"), 0);
  RunCommand(Net(L"start", kMysqlService));
  ASSERT_TRUE(WaitForServiceState(kMysqlService, SERVICE_RUNNING));
  std::wstring path = QueryService(kMysqlService).binaryPath;

  EXPECT_NE(Mysqld(L"--install quarntest_mysql"), 0);
  ServiceInfo info = QueryService(kMysqlService);
  EXPECT_EQ(info.state, static_cast<DWORD>(SERVICE_RUNNING));
  EXPECT_EQ(info.binaryPath, path);

  EXPECT_NE(Mysqld(L""), 0);
  EXPECT_NE(Mysqld(L"--install"), 0);
  EXPECT_NE(Mysqld(L"--start quarntest_mysql"), 0);
  EXPECT_NE(Mysqld(L"--install quarn/test"), 0);
  EXPECT_NE(Mysqld(L"--remove quarntest_nosuchservice"), 0);
  EXPECT_EQ(QueryService(kMysqlService).state, static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(MysqldStandin, RemoveStopsARunningService) {
  ASSERT_EQ(Mysqld(L"--install quarntest_mysql"), 0);
  RunCommand(Net(L"start", kMysqlService));
  ASSERT_TRUE(WaitForServiceState(kMysqlService, SERVICE_RUNNING));
  EXPECT_EQ(Mysqld(L"--remove quarntest_mysql"), 0);
  for (int i = 0; i < 100 && QueryService(kMysqlService).exists; ++i) Sleep(100);
  EXPECT_FALSE(QueryService(kMysqlService).exists);
}

// An install folder as the bundle leaves it: the server's tools in tomcat5\bin, the forum
// beside it (with its hidden WEB-INF), no blog, and a file outside every product.
class TomcatStandin : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteServiceIfPresent(kTomcatService);
    install_ = tk::ToWide(temp_.Path());
    bin_ = install_ + L"tomcat5\\bin";
    MakeFolders(temp_.Path() + "tomcat5\\bin");
    MakeFolders(temp_.Path() + "eforum\\WEB-INF\\classes");
    for (const wchar_t* file : {L"service.bat", L"tomcat5-service.exe"})
      ASSERT_TRUE(CopyFileW(BuiltProgram(file).c_str(), (bin_ + L"\\" + file).c_str(), FALSE));
    WriteBytes(temp_.Path() + "eforum\\index.html", "<h1>forum home</h1>");
    WriteBytes(temp_.Path() + "eforum\\WEB-INF\\classes\\forum.properties", "password=secret");
    WriteBytes(temp_.Path() + "outside.txt", "outside the site");
    SetEnvironmentVariableW(L"JAVA_HOME", L"C:\\quarntest\\java");
  }
  void TearDown() override {
    DeleteServiceIfPresent(kTomcatService);
    SetEnvironmentVariableW(L"JAVA_HOME", nullptr);
  }

  TempFolder temp_;
  std::wstring install_, bin_;
};

TEST_F(TomcatStandin, ServiceBatRegistersAServiceThatServesTheSite) {
  // As the install run does: from the tools' folder, by the batch file's bare name.
  ASSERT_EQ(RunCommand(L"service.bat install quarntest_tomcat", bin_), 0);
  ServiceInfo info = QueryService(kTomcatService);
  ASSERT_TRUE(info.exists);
  EXPECT_EQ(info.type, static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS));
  EXPECT_NE(info.binaryPath.find(bin_ + L"\\tomcat5-service.exe"), std::wstring::npos) << info.binaryPath;
  EXPECT_NE(RunCommand(L"service.bat install quarntest_tomcat", bin_), 0);

  EXPECT_EQ(HttpGet("/").status, 0) << "nothing listens before the service starts";
  RunCommand(Net(L"start", kTomcatService));
  ASSERT_TRUE(WaitForServiceState(kTomcatService, SERVICE_RUNNING));

  HttpAnswer index = HttpGet("/");
  EXPECT_EQ(index.status, 200);
  EXPECT_NE(index.body.find("href=\"/forum/\""), std::string::npos) << index.body;
  EXPECT_EQ(index.body.find("/blog/"), std::string::npos) << "no blog is installed";
  EXPECT_NE(index.body.find("C:\\quarntest\\java"), std::string::npos) << "JAVA_HOME given to service.bat";
  HttpAnswer forum = HttpGet("/forum/");
  EXPECT_EQ(forum.status, 200);
  EXPECT_EQ(forum.body, "<h1>forum home</h1>");
  EXPECT_EQ(HttpGet("/forum/index.html").body, "<h1>forum home</h1>");
  EXPECT_EQ(HttpGet("/forum").status, 301);
  EXPECT_EQ(HttpGet("/forum/missing.html").status, 404);
  EXPECT_EQ(HttpGet("/blog/").status, 404);
  EXPECT_EQ(HttpGet("/forum/WEB-INF/classes/forum.properties").status, 404);
  EXPECT_EQ(HttpGet("/../outside.txt").status, 400);
  EXPECT_EQ(HttpGet("/forum/../../outside.txt").status, 400);
  EXPECT_EQ(HttpGet("/forum/%2e%2e/%2e%2e/outside.txt").status, 400);

  // Stopped, the port is free; started again (a repair installation), it serves again.
  RunCommand(Net(L"stop", kTomcatService));
  ASSERT_TRUE(WaitForServiceState(kTomcatService, SERVICE_STOPPED));
  EXPECT_EQ(HttpGet("/").status, 0);
  RunCommand(Net(L"start", kTomcatService));
  ASSERT_TRUE(WaitForServiceState(kTomcatService, SERVICE_RUNNING));
  EXPECT_EQ(HttpGet("/forum/").status, 200);
  RunCommand(Net(L"stop", kTomcatService));
  ASSERT_TRUE(WaitForServiceState(kTomcatService, SERVICE_STOPPED));

  // As the uninstall run does: the batch file by its full path, from another folder.
  EXPECT_EQ(RunCommand(L"cmd /c " + bin_ + L"\\service.bat remove quarntest_tomcat", install_), 0);
  EXPECT_FALSE(QueryService(kTomcatService).exists);
  EXPECT_NE(RunCommand(L"cmd /c " + bin_ + L"\\service.bat remove quarntest_tomcat", install_), 0);
}

}  // namespace
