// The uninstall run: order, branches, JAVA_HOME, and the limits that keep it inside the
// recorded install folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/portable/ProcessValues.h"
#include "tests/win/support/EngineFixture.h"
#include "toolkit/win/Registry.h"
#include "toolkit/core/CodePage.h"
#include "ui/InstallRecordKeys.h"

using namespace testing_support;

namespace {

class UninstallRun : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    log = folder.Path() + "commands.log";
    SetEnvironmentVariableW(L"QUARN_RECORD_LOG", tk::ToWide(log).c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"QUARN_RECORD_LOG", nullptr);
    EngineFixture::TearDown();
  }
  // A product folder with a file, and the recording tool standing in for mysqld-nt and
  // service.bat's program in its bin folder.
  void MakeProduct(const std::string& install, const std::string& name) {
    std::string bin = install + "\\" + name + "\\bin";
    MakeFolders(bin);
    WriteFile(install + "\\" + name + "\\file.txt", "x");
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::filesystem::path recorder = std::filesystem::path(self).parent_path() / L"record_command.exe";
    std::filesystem::copy_file(recorder, std::filesystem::path(tk::ToWide(bin + "\\mysqld-nt.exe")));
    WriteFile(bin + "\\service.bat", "@\"%~dp0mysqld-nt.exe\" service %*\r\n");
  }
  std::string Log() { return ReadFile(log); }
  std::string log;
};

}  // namespace

TEST_F(UninstallRun, ProductsGoLastToFirstEachRightAfterItsServiceCommands) {
  std::string install = folder.Path() + "inst";
  for (const char* name : {"MySQL5", "eforum", "tomcat5"}) MakeProduct(install, name);
  WriteRecord(install, {"MySQL5", "eforum", "tomcat5"}, /*hadSetJavaHome=*/true);
  SetSystemJavaHome(install + "\\java");
  CreateWizard(true);
  form->RunUninstall();
  std::string commands = Log();
  // tomcat5 first (its service.bat remove, run from its bin folder), MySQL5 last.
  size_t tomcat = commands.find("service remove tomcatquarn"), mysql = commands.find("--remove mysqlquarn");
  ASSERT_NE(tomcat, std::string::npos) << commands;
  ASSERT_NE(mysql, std::string::npos) << commands;
  EXPECT_LT(tomcat, mysql);
  EXPECT_NE(commands.find("tomcat5\\bin |"), std::string::npos) << commands;
  for (const char* name : {"MySQL5", "eforum", "tomcat5"})
    EXPECT_FALSE(Exists(install + "\\" + name)) << name;
  EXPECT_FALSE(Exists(install)) << "the emptied install folder goes too";
  EXPECT_EQ(SystemJavaHome(), "") << "the installation had set it";
  EXPECT_EQ(form->Label37->Caption(), "Quarn系统卸载成功!");
  EXPECT_FALSE(KeyExists("\\Software\\quarn"));
  EXPECT_FALSE(KeyExists(ui::kUninstallKey));
}

TEST_F(UninstallRun, AnInstallPathHoldingMysqlSendsEveryProductDownTheMysqlBranch) {
  std::string install = folder.Path() + "MySQLsite";
  for (const char* name : {"eforum", "tomcat5"}) MakeProduct(install, name);
  WriteRecord(install, {"eforum", "tomcat5"}, /*hadSetJavaHome=*/true);
  SetSystemJavaHome("D:\\jdk");
  CreateWizard(true);
  form->RunUninstall();
  std::string commands = Log();
  EXPECT_EQ(commands.find("service remove"), std::string::npos) << commands;
  size_t first = commands.find("--remove mysqlquarn");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(commands.find("--remove mysqlquarn", first + 1), std::string::npos) << "once per product";
  EXPECT_EQ(SystemJavaHome(), "D:\\jdk") << "no product took the tomcat branch";
}

TEST_F(UninstallRun, JavaHomeStaysWhenTheInstallationDidNotSetIt) {
  std::string install = folder.Path() + "inst";
  MakeProduct(install, "tomcat5");
  WriteRecord(install, {"tomcat5"}, /*hadSetJavaHome=*/false);
  SetSystemJavaHome("D:\\jdk");
  CreateWizard(true);
  form->RunUninstall();
  EXPECT_EQ(SystemJavaHome(), "D:\\jdk");
}

TEST_F(UninstallRun, WithoutAProductKeyNothingIsDeletedButTheRecordGoes) {
  std::string install = folder.Path() + "inst";
  MakeProduct(install, "eforum");
  WriteRecord(install, {});
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  registry.DeleteKey(ui::kProductKey);
  CreateWizard(true);
  form->Label37->SetCaption("before");
  form->RunUninstall();
  EXPECT_TRUE(Exists(install + "\\eforum\\file.txt"));
  EXPECT_EQ(form->Label37->Caption(), "before");
  EXPECT_FALSE(KeyExists("\\Software\\quarn"));
}

TEST_F(UninstallRun, NothingOutsideTheRecordedFolderIsEverDeleted) {
  // Would-be victims: a folder at the current drive's root, the install folder's sibling. The
  // current drive is made the prefix's C: for the test, not the host's own root.
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(tk::ToWide(folder.Path()).c_str());
  std::string rootVictim = "\\quarn-uninstall-victim";
  MakeFolders(rootVictim);
  WriteFile(rootVictim + "\\keep.txt", "keep");
  std::string install = folder.Path() + "inst";
  MakeFolders(install);
  WriteFile(install + "\\keep.txt", "keep");
  MakeFolders(folder.Path() + "sibling");
  WriteFile(folder.Path() + "sibling\\keep.txt", "keep");

  // An empty install path: no product step at all.
  WriteRecord("", {"quarn-uninstall-victim"});
  CreateWizard(true);
  form->RunUninstall();
  EXPECT_TRUE(Exists(rootVictim + "\\keep.txt"));
  EXPECT_FALSE(KeyExists("\\Software\\quarn"));

  // Names that climb out or name a drive are skipped; a drive root as install folder is refused.
  WriteRecord(install, {"..\\sibling", "../sibling", "C:\\quarn-uninstall-victim", ".."});
  form->RunUninstall();
  EXPECT_TRUE(Exists(folder.Path() + "sibling\\keep.txt"));
  EXPECT_TRUE(Exists(install));
  WriteRecord("C:\\", {"quarn-uninstall-victim"});
  MakeFolders("C:\\quarn-uninstall-victim");
  form->RunUninstall();
  EXPECT_TRUE(Exists("C:\\quarn-uninstall-victim"));
  RemoveDirectoryW(L"C:\\quarn-uninstall-victim");
  DeleteFileW(tk::ToWide(rootVictim + "\\keep.txt").c_str());
  RemoveDirectoryW(tk::ToWide(rootVictim).c_str());
  SetCurrentDirectoryW(before);
}
