// The install run into the default folder and others: copies, patched configuration files,
// JAVA_HOME, and the end states of the copying page.
#include <gtest/gtest.h>

#include <memory>

#include "setup/portable/ServiceCommands.h"
#include "common/win/SystemFolders.h"
#include "tests/win/support/EngineFixture.h"
#include "tests/win/support/NeverEndingTools.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/Registry.h"
#include "setup/win/InstallEngine.h"
#include "setup/win/InstallRecordKeys.h"

using namespace testing_support;

namespace {

class InstallRun : public EngineFixture {
 protected:
  // Runs the install into folder with the bundle's products; the run must succeed.
  void Install(const std::string& target, bool forum, bool cms) {
    PlacePackage(BundleFiles(forum, cms));
    InstallOrFail(target);
  }
  using EngineFixture::Install;
  std::string Config(const std::string& folder, const std::string& file) { return ReadFile(folder + "\\" + file); }
  const std::string catalina = "tomcat5\\bin\\catalina.bat";
  const std::string forumXml = "tomcat5\\conf\\Catalina\\localhost\\forum.xml";
  const std::string cmsXml = "tomcat5\\conf\\Catalina\\localhost\\cms.xml";
  const std::string myIni = "MySQL5\\my.ini";
};

}  // namespace

TEST_F(InstallRun, TheDefaultFolderKeepsTheShippedConfiguration) {
  Install("c:\\quarn", true, true);
  std::vector<PackageFile> shipped = BundleFiles(true, true);
  EXPECT_EQ(Config("c:\\quarn", catalina), shipped[1].content);
  EXPECT_EQ(Config("c:\\quarn", forumXml), shipped[2].content) << "Context path stays empty";
  EXPECT_EQ(Config("c:\\quarn", myIni), shipped[5].content);
  // The gauge counted the archive's entries and then every copied file on top.
  EXPECT_EQ(progress.range, 2 * static_cast<int>(shipped.size()));
  ASSERT_EQ(staged.size(), 1u);
  EXPECT_EQ(staged[0].products.size(), 6u);
  EXPECT_EQ(staged[0].version, "2.0.0");
}

TEST_F(InstallRun, TheLogNamesThePackagesVersionAndHowTheRunEnded) {
  const std::string target = folder.Path() + "web";
  Install(target, false, false);
  const std::string log = ReadFile(folder.Path() + "run.log");
  // The log is UTF-8; the version is the package's, read before staging.
  EXPECT_NE(log.find(tk::WideToUtf8(tk::ToWide("开始安装 版本 2.0.0 目录 " + target))), std::string::npos) << log;
  EXPECT_NE(log.find(tk::WideToUtf8(tk::ToWide("结束 退出码 0"))), std::string::npos) << log;
}

TEST_F(InstallRun, AnUpperCaseDriveLetterIsAnotherFolderAndIsPatched) {
  Install("C:\\quarn", true, false);
  EXPECT_EQ(Config("C:\\quarn", catalina), "set JAVA_HOME=C:\\quarn\\java\r\nset CATALINA_HOME=C:\\quarn\\tomcat5\r\n");
  EXPECT_EQ(Config("C:\\quarn", myIni), "[mysqld]\r\nbasedir=C:/quarn/MySQL5\r\ndatadir=C:/quarn/MySQL5/data\r\n");
}

TEST_F(InstallRun, ForumOnlyPatchesItsFilesAndKeepsTheContextPath) {
  std::string target = folder.Path() + "web";
  Install(target, true, false);
  std::string slash = target;
  for (char& c : slash)
    if (c == '\\') c = '/';
  EXPECT_EQ(Config(target, catalina),
            "set JAVA_HOME=" + target + "\\java\r\nset CATALINA_HOME=" + target + "\\tomcat5\r\n");
  EXPECT_EQ(Config(target, forumXml), "<Context path=\"\" docBase=\"" + slash + "/eforum\">\r\n<Parameter value=\"" +
                                          slash + "/eforum/upload\"/>\r\n</Context>\r\n");
  EXPECT_EQ(Config(target, cmsXml), "<Context path=\"/cms\" docBase=\"c:/quarn/ecms\"/>\r\n") << "cms.xml is the cms branch's";
  EXPECT_EQ(Config(target, myIni), "[mysqld]\r\nbasedir=" + slash + "/MySQL5\r\ndatadir=" + slash + "/MySQL5/data\r\n");
}

TEST_F(InstallRun, CmsOnlyPatchesThenDeletesTheForumFile) {
  std::string target = folder.Path() + "web";
  Install(target, false, true);
  EXPECT_FALSE(Exists(target + "\\" + forumXml));
  std::string slash = target;
  for (char& c : slash)
    if (c == '\\') c = '/';
  EXPECT_EQ(Config(target, cmsXml), "<Context path=\"/cms\" docBase=\"" + slash + "/ecms\"/>\r\n");
}

TEST_F(InstallRun, ForumAndCmsMoveTheForumToItsOwnContextPath) {
  std::string target = folder.Path() + "web";
  Install(target, true, true);
  EXPECT_EQ(Config(target, forumXml).rfind("<Context path=\"/forum\"", 0), 0u);
  EXPECT_EQ(Config(target, catalina),
            "set JAVA_HOME=" + target + "\\java\r\nset CATALINA_HOME=" + target + "\\tomcat5\r\n");
}

TEST_F(InstallRun, AFolderInsideTheDefaultOneIsWrittenOnceNotTwice) {
  Install("c:\\quarn\\sub", true, true);
  EXPECT_EQ(Config("c:\\quarn\\sub", catalina),
            "set JAVA_HOME=c:\\quarn\\sub\\java\r\nset CATALINA_HOME=c:\\quarn\\sub\\tomcat5\r\n");
  EXPECT_EQ(Config("c:\\quarn\\sub", myIni),
            "[mysqld]\r\nbasedir=c:/quarn/sub/MySQL5\r\ndatadir=c:/quarn/sub/MySQL5/data\r\n");
}

TEST_F(InstallRun, JavaHomeIsSetOnlyWhenTheSystemHasNone) {
  SetSystemJavaHome("");
  std::string target = folder.Path() + "web";
  PlacePackage(BundleFiles(true, false));
  EXPECT_TRUE(Install(target).javaHomeOurs);
  EXPECT_EQ(SystemJavaHome(), target + "\\java");
}

TEST_F(InstallRun, AnExistingJavaHomeIsLeftAlone) {
  SetSystemJavaHome("D:\\jdk");
  PlacePackage(BundleFiles(true, false));
  EXPECT_FALSE(Install(folder.Path() + "web").javaHomeOurs);
  EXPECT_EQ(SystemJavaHome(), "D:\\jdk");
}

TEST_F(InstallRun, FilesThatCannotBeCopiedFailTheRunWithTheirReason) {
  std::string target = folder.Path() + "web";
  MakeFolders(target + "\\eblog");
  WriteFile(target + "\\eblog\\index.html", "old");
  PlacePackage(BundleFiles(true, true));
  setup::InstallOutcome outcome;
  {
    // Another program holds the target file, so copying over it fails.
    tk::TFileStream holder(target + "\\eblog\\index.html", tk::FileMode::OpenReadWrite);
    outcome = Install(target);
  }
  EXPECT_EQ(outcome.code, pub::ExitCode::Failed);
  EXPECT_NE(outcome.reason.find("有 1 个文件无法拷贝"), std::string::npos) << outcome.reason;
  EXPECT_NE(outcome.reason.find("eblog\\index.html"), std::string::npos) << outcome.reason;
  EXPECT_TRUE(KeyExists(setup::kVersionKey)) << "the record lets the partial installation be removed";
}

// This program's folder holds stand-ins named mysqld-nt.exe and service.bat, and the tools
// once ran from the folder they were in as the current one: a tool is run only from the
// installed tree, by its full path, and a tree without it fails the run, naming that path.
TEST_F(InstallRun, AToolMissingFromTheInstalledTreeIsReportedNeverTakenFromElsewhere) {
  int run = 0;
  for (const std::string left : {"MySQL5/bin/", "MySQL5/bin/mysqld-nt.exe"}) {
    SCOPED_TRACE(left);
    std::vector<PackageFile> files;
    for (const PackageFile& file : BundleFiles(false, false))
      if (file.name.rfind(left, 0) != 0) files.push_back(file);
    PlacePackage(files);
    const std::string target = folder.Path() + "web" + std::to_string(++run);
    const setup::InstallOutcome outcome = Install(target);
    EXPECT_FALSE(outcome.Done());
    EXPECT_NE(outcome.reason.find("\"" + target + "\\MySQL5\\bin\\mysqld-nt.exe\" --install mysqlquarn：无法运行："),
              std::string::npos)
        << tk::WideToUtf8(tk::ToWide(outcome.reason));
  }
}

// The web server's service tool never ends, as one stuck at a prompt: the run ends at its
// bound, fails naming the command, keeps the record, and leaves nothing of it running (the
// tool is the command processor's child).
TEST_F(InstallRun, AServiceToolThatNeverEndsFailsTheRunAtItsBoundNamingIt) {
  std::vector<PackageFile> files;
  for (const PackageFile& file : BundleFiles(false, false))
    if (file.name.rfind("MySQL5/", 0) != 0) files.push_back(file);
  PlacePackage(files);
  const std::string target = folder.Path() + "web";
  bounds.webServerToolSeconds = 3;
  NeverEndingTools neverEnding(folder.Path() + "pids.txt");
  const ULONGLONG start = GetTickCount64();
  const setup::InstallOutcome outcome = Install(target);
  EXPECT_LT(GetTickCount64() - start, 3000u + 30000u) << "the bound and a margin for the rest of the run";
  EXPECT_EQ(outcome.code, pub::ExitCode::Failed);
  const std::string command =
      pub::WebServerToolCommand(pub::SystemDirectory(), target + "\\tomcat5", pub::ServiceToolAction::Install, bounds)
          .commandLine;
  const std::string note = "命令 " + command + "：在 3 秒内没有结束，已被终止";
  EXPECT_EQ(outcome.reason.rfind(note, 0), 0u) << tk::WideToUtf8(tk::ToWide(outcome.reason));
  EXPECT_NE(ReadFile(folder.Path() + "run.log").find(tk::WideToUtf8(tk::ToWide(note))), std::string::npos);
  EXPECT_TRUE(KeyExists(setup::kVersionKey)) << "the record stays for a repair or a removal";
  ASSERT_EQ(neverEnding.Started().size(), 1u) << "the stand-in ran and wrote its process id";
  EXPECT_TRUE(neverEnding.StillRunning().empty()) << "nothing of the command is left running";
}

TEST_F(InstallRun, AMissingPackageEndsWithItsOwnExitCode) {
  const setup::InstallOutcome outcome = Install(folder.Path() + "web");
  EXPECT_EQ(outcome.code, pub::ExitCode::PackageProblem);
  EXPECT_EQ(outcome.reason, setup::PackageMissingMessage());
  EXPECT_FALSE(Exists(folder.Path() + "web"));
}

TEST_F(InstallRun, ARepairKeepsTheJavaHomeOurEarlierRunCreated) {
  std::string target = folder.Path() + "web";
  SetSystemJavaHome(target + "\\java");
  WriteRecord(target, {"java", "tomcat5"}, /*hadSetJavaHome=*/true);
  PlacePackage(BundleFiles(false, false));
  EXPECT_TRUE(Install(target, /*repair=*/true).javaHomeOurs) << "still ours, so a later removal takes it away";
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey(setup::kVersionKey, false));
  EXPECT_EQ(registry.ReadInteger("HadSetJAVA_HOME"), 1);
}

TEST_F(InstallRun, TheRunGivesBackTheCurrentFolderItStartedWith) {
  wchar_t before[MAX_PATH], after[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  Install(folder.Path() + "web", true, true);
  GetCurrentDirectoryW(MAX_PATH, after);
  EXPECT_STREQ(after, before);
}

TEST_F(InstallRun, AServiceFailureAfterJavaHomeLeavesARecordThatOwnsIt) {
  // The web server's tool is missing: the run stops in the services step, after JAVA_HOME.
  SetSystemJavaHome("");
  std::vector<PackageFile> files;
  for (const PackageFile& file : BundleFiles(false, false))
    if (file.name != "tomcat5/bin/service.bat") files.push_back(file);
  PlacePackage(files);
  const std::string target = folder.Path() + "web";
  EXPECT_FALSE(Install(target).Done());
  ASSERT_EQ(SystemJavaHome(), target + "\\java");
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey(setup::kVersionKey, false));
  EXPECT_EQ(registry.ReadInteger("HadSetJAVA_HOME"), 1) << "so that the removal takes the variable away";
}

TEST_F(InstallRun, FilesInThePackagesRootLandInTheInstallFolderAndGoWithTheRemoval) {
  std::vector<PackageFile> files = BundleFiles(false, false);
  files.insert(files.begin() + 2, {"readme.txt", "read me\r\n"});  // between two product folders
  PlacePackage(files);
  const std::string target = folder.Path() + "web";
  InstallOrFail(target);
  EXPECT_EQ(ReadFile(target + "\\readme.txt"), "read me\r\n");
  EXPECT_EQ(ReadFile(target + "\\eblog\\index.html"), "<h1>blog</h1>\r\n") << "the products after it are placed too";
  ASSERT_TRUE(Uninstall().Done());
  EXPECT_FALSE(Exists(target)) << "the root file goes, and with it the emptied install folder";
}

// On a shared machine the install folder is made administrators-only before any file is
// placed; a folder that already held someone's files keeps its own list, and only the folders
// the package places are protected, so nobody loses the rights to their own files.
TEST_F(InstallRun, TheInstallFolderIsProtectedWholeOrOnlyInOurFoldersWhenItHeldSomeonesFiles) {
  auto logged = [&](const std::string& gbk) {
    return ReadFile(folder.Path() + "run.log").find(tk::WideToUtf8(tk::ToWide(gbk))) != std::string::npos;
  };
  const std::string fresh = folder.Path() + "web";
  Install(fresh, false, false);
  EXPECT_TRUE(logged("安装目录已设为只有 SYSTEM 和 Administrators 可以更改（Users 只能读取和运行）：" + fresh));

  const std::string shared = folder.Path() + "shared";
  MakeFolders(shared);
  WriteFile(shared + "\\notes.txt", "mine");
  Install(shared, false, false);
  EXPECT_TRUE(logged("安装目录中已有其他文件，保留它原有的权限；"));
  EXPECT_TRUE(logged(shared + "\\tomcat5、")) << "each product folder";
  EXPECT_TRUE(logged("、" + shared + "\\install"));
  EXPECT_EQ(ReadFile(shared + "\\notes.txt"), "mine");
  EXPECT_TRUE(Exists(shared + "\\tomcat5\\bin\\catalina.bat"));
}
