// The uninstall run: order, branches, JAVA_HOME, and the limits that keep it inside the
// recorded install folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "setup/portable/ServiceCommands.h"
#include "common/win/SystemFolders.h"
#include "tests/e2e/driver/Files.h"
#include "tests/e2e/driver/SystemRecord.h"
#include "tests/win/support/EngineFixture.h"
#include "tests/win/support/NeverEndingTools.h"
#include "toolkit/win/Registry.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "setup/win/InstallRecordKeys.h"

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

TEST_F(UninstallRun, TomcatStopsBeforeAnyFileGoesAndEachServiceIsUnregisteredBeforeItsFolderGoes) {
  std::string install = folder.Path() + "inst";
  for (const char* name : {"MySQL5", "eforum", "tomcat5"}) MakeProduct(install, name);
  WriteRecord(install, {"MySQL5", "eforum", "tomcat5"}, /*hadSetJavaHome=*/true);
  SetSystemJavaHome(install + "\\java");
  const setup::UninstallOutcome outcome = Uninstall();
  EXPECT_TRUE(outcome.Done());
  EXPECT_EQ(outcome.removal, setup::UninstallEngine::Outcome::Removed);
  // Each unregistering command ran from where the program it starts lives, by its full path:
  // before its folder went.
  std::string commands = Log();
  EXPECT_NE(commands.find(install + "\\tomcat5\\bin | "), std::string::npos) << commands;
  EXPECT_NE(commands.find("service remove tomcatquarn"), std::string::npos) << commands;
  EXPECT_NE(commands.find(install + "\\MySQL5\\bin | \"" + install + "\\MySQL5\\bin\\mysqld-nt.exe\" --remove mysqlquarn"),
            std::string::npos)
      << commands;
  // What the gauge had counted when each step was reported (three files a product): no file
  // before Tomcat had stopped, and no service's own files before its command had ended.
  auto countedAt = [&](const std::string& part) {
    for (size_t i = 0; i < progress.notes.size(); ++i)
      if (progress.notes[i].find(part) != std::string::npos) return progress.notedAt[i];
    ADD_FAILURE() << "no note with " << part;
    return -1;
  };
  EXPECT_EQ(countedAt("服务 tomcatquarn"), 0);
  EXPECT_LE(countedAt("\\tomcat5\\bin\\service.bat\" remove"), 3) << "eforum alone may have gone";
  EXPECT_LE(countedAt("\\MySQL5\\bin\\mysqld-nt.exe\" --remove"), 6) << "eforum and tomcat5 alone may have gone";
  for (const char* name : {"MySQL5", "eforum", "tomcat5"})
    EXPECT_FALSE(Exists(install + "\\" + name)) << name;
  EXPECT_FALSE(Exists(install)) << "the emptied install folder goes too";
  EXPECT_EQ(SystemJavaHome(), "") << "the installation had set it";
  EXPECT_FALSE(KeyExists("\\Software\\quarn"));
  EXPECT_FALSE(KeyExists(setup::kUninstallKey));
}

// The service a product provides is told by the product's own folder name: an install folder
// named after a service sends no product down that service's branch.
TEST_F(UninstallRun, AnInstallPathNamingMysqlOrTomcatChangesNoProductsBranch) {
  std::string install = folder.Path() + "MySQL-Tomcat site";
  for (const char* name : {"eforum", "tomcat5"}) MakeProduct(install, name);
  WriteRecord(install, {"eforum", "tomcat5"}, /*hadSetJavaHome=*/true);
  SetSystemJavaHome("D:\\jdk");
  EXPECT_TRUE(Uninstall().Done());
  std::string commands = Log();
  EXPECT_EQ(commands.find("--remove mysqlquarn"), std::string::npos) << commands;
  size_t tomcat = commands.find("service remove tomcatquarn");
  ASSERT_NE(tomcat, std::string::npos) << commands;
  EXPECT_EQ(commands.find("service remove tomcatquarn", tomcat + 1), std::string::npos) << "once, for tomcat5 alone";
  EXPECT_EQ(SystemJavaHome(), "D:\\jdk") << "it names another Java";
  EXPECT_FALSE(Exists(install));
}

TEST_F(UninstallRun, JavaHomeStaysWhenTheInstallationDidNotSetIt) {
  std::string install = folder.Path() + "inst";
  MakeProduct(install, "tomcat5");
  WriteRecord(install, {"tomcat5"}, /*hadSetJavaHome=*/false);
  SetSystemJavaHome("D:\\jdk");
  Uninstall();
  EXPECT_EQ(SystemJavaHome(), "D:\\jdk");
}

TEST_F(UninstallRun, WithoutAProductKeyNothingIsDeletedButTheRecordGoes) {
  std::string install = folder.Path() + "inst";
  MakeProduct(install, "eforum");
  WriteRecord(install, {});
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  registry.DeleteKey(setup::kProductKey);
  const setup::UninstallOutcome outcome = Uninstall();
  EXPECT_TRUE(Exists(install + "\\eforum\\file.txt"));
  EXPECT_EQ(outcome.removal, setup::UninstallEngine::Outcome::NothingRecorded);
  EXPECT_EQ(outcome.code, pub::ExitCode::Failed) << "nothing was removed";
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
  Uninstall();
  EXPECT_TRUE(Exists(rootVictim + "\\keep.txt"));
  EXPECT_FALSE(KeyExists("\\Software\\quarn"));

  // Names that climb out or name a drive are skipped; a drive root as install folder is refused.
  WriteRecord(install, {"..\\sibling", "../sibling", "C:\\quarn-uninstall-victim", ".."});
  Uninstall();
  EXPECT_TRUE(Exists(folder.Path() + "sibling\\keep.txt"));
  EXPECT_TRUE(Exists(install));
  WriteRecord("C:\\", {"quarn-uninstall-victim"});
  MakeFolders("C:\\quarn-uninstall-victim");
  Uninstall();
  EXPECT_TRUE(Exists("C:\\quarn-uninstall-victim"));
  RemoveDirectoryW(L"C:\\quarn-uninstall-victim");
  DeleteFileW(tk::ToWide(rootVictim + "\\keep.txt").c_str());
  RemoveDirectoryW(tk::ToWide(rootVictim).c_str());
  SetCurrentDirectoryW(before);
}

TEST_F(UninstallRun, ProgramPathsBuiltFromTheFolderAreQuoted) {
  // With a blank in the folder, an unquoted path would first be tried as "...\my.exe".
  std::string install = folder.Path() + "my web";
  for (const char* name : {"MySQL5", "tomcat5"}) MakeProduct(install, name);
  WriteRecord(install, {"MySQL5", "tomcat5"});
  Uninstall();
  std::string commands = Log();
  EXPECT_NE(commands.find("| \"" + install + "\\MySQL5\\bin\\mysqld-nt.exe\" --remove mysqlquarn"), std::string::npos)
      << commands;
  EXPECT_NE(commands.find("service remove tomcatquarn"), std::string::npos) << commands;
  EXPECT_FALSE(Exists(install));
}

TEST_F(UninstallRun, AFolderThatCannotBeRemovedKeepsTheRecordAndSaysWhy) {
  std::string install = folder.Path() + "inst";
  for (const char* name : {"eforum", "ecms"}) MakeProduct(install, name);
  WriteRecord(install, {"eforum", "ecms"});
  {
    // Another program holds a file of eforum open without sharing.
    tk::TFileStream holder(install + "\\eforum\\file.txt", tk::FileMode::OpenReadWrite);
    const setup::UninstallOutcome outcome = Uninstall();
    EXPECT_EQ(outcome.code, pub::ExitCode::Failed) << "an incomplete removal must not end as a success";
    EXPECT_TRUE(outcome.incomplete);
    EXPECT_NE(outcome.reason.find(install + "\\eforum"), std::string::npos) << outcome.reason;
    EXPECT_NE(outcome.reason.find("file.txt"), std::string::npos) << "names what is stuck: " << outcome.reason;
    EXPECT_TRUE(KeyExists(setup::kVersionKey)) << "the record stays for another try";
    EXPECT_FALSE(Exists(install + "\\ecms")) << "what could go went";
  }
  // Once the file is let go, running the removal again finishes it.
  EXPECT_TRUE(Uninstall().Done());
  EXPECT_FALSE(Exists(install));
  EXPECT_FALSE(KeyExists(setup::kVersionKey));
}


// Another program holds the uninstaller open: the removal is done, the uninstaller goes at the
// next restart, and the code says so (3010), as the box and the log do.
TEST_F(UninstallRun, AnUninstallerHeldOpenGoesAtTheNextRestartAndTheCodeSaysSo) {
  e2e::SavedRestartDeletes restartDeletes;
  std::string install = folder.Path() + "inst";
  MakeProduct(install, "eforum");
  WriteRecord(install, {"eforum"});
  const std::string uninstaller = install + "\\install\\Uninstall.exe";
  setup::UninstallOutcome outcome;
  {
    tk::TFileStream holder(uninstaller, tk::FileMode::OpenReadWrite);
    outcome = Uninstall();
  }
  EXPECT_EQ(outcome.code, pub::ExitCode::DoneRestartNeeded);
  EXPECT_TRUE(outcome.Done());
  EXPECT_EQ(outcome.leftForRestart, std::vector<std::string>{uninstaller});
  EXPECT_FALSE(Exists(install + "\\eforum"));
  EXPECT_FALSE(KeyExists(setup::kVersionKey));
  EXPECT_TRUE(restartDeletes.Holds(tk::ToWide(uninstaller))) << "not left to the restart";
  bool noted = false;
  for (const std::string& note : progress.notes) noted = noted || note.find(uninstaller) != std::string::npos;
  EXPECT_TRUE(noted) << "the log names what waits for the restart";
}

TEST_F(UninstallRun, ARecordWithoutAUsableFolderIsDeletedSayingNothingWasRemoved) {
  for (const char* path : {"", "quarn", "\\quarn"}) {
    SCOPED_TRACE(path);
    WriteRecord(path, {"eforum"});
    const setup::UninstallOutcome outcome = Uninstall();
    EXPECT_EQ(outcome.removal, setup::UninstallEngine::Outcome::NoUsableFolder);
    EXPECT_FALSE(outcome.Done());
    EXPECT_NE(outcome.reason.find("没有删除任何文件"), std::string::npos);
    EXPECT_FALSE(KeyExists(setup::kVersionKey));
  }
}

// A record changed to name another folder (a registry cleaner, a script's typo): nothing is
// stopped or deleted, whatever that folder holds, and the record stays.
TEST_F(UninstallRun, ARecordNamingAFolderThatIsNotThisInstallationIsRefusedAndKept) {
  std::string install = folder.Path() + "inst";
  MakeProduct(install, "tomcat5");
  std::string data = folder.Path() + "data";
  MakeFolders(data + "\\tomcat5");
  WriteFile(data + "\\tomcat5\\mine.txt", "the user's");
  // C:\ holds no uninstaller of ours; a planted pair would not make a drive an install folder.
  WriteRecord(install, {"tomcat5"}, /*hadSetJavaHome=*/true);
  SetSystemJavaHome(install + "\\java");
  for (const std::string& path : {data, std::string("C:\\"), std::string("c:\\windows")}) {
    SCOPED_TRACE(path);
    tk::TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry.OpenKey(setup::kVersionKey, false));
    registry.WriteString("installpath", path);
    registry.CloseKey();
    const setup::UninstallOutcome outcome = Uninstall();
    EXPECT_EQ(outcome.removal, setup::UninstallEngine::Outcome::Refused);
    EXPECT_EQ(outcome.code, pub::ExitCode::BadCommandLine);
    EXPECT_NE(outcome.reason.find(path.substr(0, 2)), std::string::npos) << outcome.reason;
    EXPECT_TRUE(KeyExists(setup::kVersionKey)) << "the record stays for an administrator";
    EXPECT_EQ(Log(), "") << "no service command ran";
    EXPECT_EQ(SystemJavaHome(), install + "\\java");
  }
  EXPECT_EQ(ReadFile(data + "\\tomcat5\\mine.txt"), "the user's");
  EXPECT_TRUE(Exists(install + "\\tomcat5\\file.txt"));
  // The proof placed once the folder is the installation's: the removal goes ahead.
  WriteRecord(install, {"tomcat5"});
  EXPECT_TRUE(Uninstall().Done());
  EXPECT_FALSE(Exists(install));
}

// What a run stopped while writing the record leaves: the products, then a version key
// holding its folder alone, or nothing yet. Neither may make the removal fail.
TEST_F(UninstallRun, AHalfWrittenRecordIsRemovedAsFarAsItLeads) {
  std::string install = folder.Path() + "inst";
  MakeProduct(install, "eforum");
  SetSystemJavaHome("D:\\jdk");
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey(setup::kProductKey, true));
  registry.WriteInteger("eforum", 1);
  ASSERT_TRUE(registry.OpenKey(setup::kVersionKey, true));
  registry.WriteString("installpath", install);
  registry.CloseKey();
  ProveInstallation(install);  // the install run places both before it records the folder
  EXPECT_TRUE(Uninstall().Done());
  EXPECT_FALSE(Exists(install + "\\eforum"));
  EXPECT_EQ(SystemJavaHome(), "D:\\jdk") << "not recorded as ours";
  EXPECT_FALSE(KeyExists("\\Software\\quarn"));

  MakeProduct(install, "eforum");
  ASSERT_TRUE(registry.OpenKey(setup::kProductKey, true));
  registry.WriteInteger("eforum", 1);
  ASSERT_TRUE(registry.OpenKey(setup::kVersionKey, true));
  registry.CloseKey();
  EXPECT_NE(Uninstall().reason.find("没有删除任何文件"), std::string::npos);
  EXPECT_TRUE(Exists(install + "\\eforum\\file.txt"));
  EXPECT_FALSE(KeyExists("\\Software\\quarn"));
}

TEST_F(UninstallRun, JavaHomeThatNoLongerNamesOurJavaIsLeftAlone) {
  std::string install = folder.Path() + "inst";
  MakeProduct(install, "tomcat5");
  WriteRecord(install, {"tomcat5"}, /*hadSetJavaHome=*/true);
  SetSystemJavaHome("D:\\other-jdk");  // changed by someone since the install
  Uninstall();
  EXPECT_EQ(SystemJavaHome(), "D:\\other-jdk");
}

// The services' tools never end, as ones stuck at a prompt: each is ended at its bound, noted
// as such like any command that failed, and the removal goes on and removes what it can.
TEST_F(UninstallRun, ToolsThatNeverEndAreEndedAtTheirBoundAndTheRemovalGoesOn) {
  const std::string install = folder.Path() + "inst";
  const std::string tools = tk::FromWide(e2e::ProgramFolder());
  for (const char* name : {"MySQL5", "tomcat5", "eforum"}) {
    MakeFolders(install + "\\" + name + "\\bin");
    WriteFile(install + "\\" + name + "\\file.txt", "x");
  }
  for (const char* tool : {"MySQL5\\bin\\mysqld-nt.exe", "tomcat5\\bin\\tomcat5-service.exe", "tomcat5\\bin\\service.bat"}) {
    const std::string name = tool;
    WriteFile(install + "\\" + name, ReadFile(tools + name.substr(name.rfind('\\') + 1)));
  }
  WriteRecord(install, {"MySQL5", "eforum", "tomcat5"});
  bounds.databaseToolSeconds = 2;
  bounds.webServerToolSeconds = 3;
  NeverEndingTools neverEnding(folder.Path() + "pids.txt");
  const ULONGLONG start = GetTickCount64();
  const setup::UninstallOutcome outcome = Uninstall();
  EXPECT_LT(GetTickCount64() - start, 3000u + 30000u) << "the longer bound and a margin for the rest";
  const std::string database =
      pub::DatabaseToolCommand(install + "\\MySQL5", pub::ServiceToolAction::Remove, bounds).commandLine;
  const std::string web =
      pub::WebServerToolCommand(pub::SystemDirectory(), install + "\\tomcat5", pub::ServiceToolAction::Remove, bounds)
          .commandLine;
  auto noted = [&](const std::string& note) {
    return std::find(progress.notes.begin(), progress.notes.end(), note) != progress.notes.end();
  };
  EXPECT_TRUE(noted("命令 " + database + "：在 2 秒内没有结束，已被终止"));
  EXPECT_TRUE(noted("命令 " + web + "：在 3 秒内没有结束，已被终止"));
  EXPECT_EQ(neverEnding.Started().size(), 2u) << "both tools ran";
  EXPECT_TRUE(neverEnding.StillRunning().empty()) << "nothing of them is left running";
  EXPECT_TRUE(outcome.Done()) << tk::WideToUtf8(tk::ToWide(outcome.reason));
  EXPECT_FALSE(Exists(install)) << "their folders went once they were ended";
}
