// Folders whose names GBK cannot hold, as a user with a Korean profile name or a Korean
// download folder has them: the temporary folder and the setup folder are used by their short
// names; an install folder with such a name is refused on the folder page. An install folder
// the bundle's batch files cannot carry is refused on the folder page and as /D.
#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/Http.h"
#include "tests/e2e/driver/Services.h"
#include "tests/e2e/driver/WindowQuery.h"
#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

class FolderNames : public EndToEnd {
 protected:
  void TearDown() override {
    EndToEnd::TearDown();  // ends the programs first, so nothing holds the folders
    hangulFolder.reset();
  }

  // A folder of the test's own with a Hangul name.
  const std::wstring& HangulFolder(const wchar_t* name) {
    hangulFolder = std::make_unique<WorkFolder>(name);
    return hangulFolder->Path();
  }

  // What a completed first installation into kOwnFolder leaves.
  void ExpectInstalled() {
    for (const wchar_t* service : {L"mysqlquarn", L"tomcatquarn"})
      EXPECT_TRUE(WaitForRunning(service, kWindowWait)) << tk::WideToUtf8(service) << " does not run";
    EXPECT_EQ(HttpGet("/", 8080).status, 200) << "the site does not answer on port 8080";
    EXPECT_EQ(RecordedString(L"installpath"), kOwnFolder);
    EXPECT_TRUE(UninstallEntryExists());
    for (const std::string& product : ProductFolders())
      EXPECT_TRUE(FolderExists(tk::ToWide(std::string(kOwnFolder) + "\\" + product))) << product;
  }

  std::unique_ptr<WorkFolder> hangulFolder;
};

}  // namespace

TEST_F(FolderNames, AHangulTemporaryFolderIsStagedInAndClearedAtTheEnd) {
  // The TEMP and TMP a Korean profile gives, handed over as the process's environment.
  const std::wstring temp = HangulFolder(L"사용자-Temp");
  const std::wstring staging = temp + L"quarne\\";
  SetupProcess& setup = StartFrom(setupFolder->Path(), temp);
  Wizard wizard(setup.Id());
  ASSERT_NO_FATAL_FAILURE(WalkToFolderPage(wizard));
  EXPECT_TRUE(OpenMessageBoxes(setup.Id()).empty()) << "start-up complained";
  wizard.TypeFolder(kOwnFolder);
  ASSERT_TRUE(WaitUntil([&] { return wizard.Folder() == kOwnFolder; }));
  wizard.Next();
  ASSERT_TRUE(WaitForRunEnd(setup, wizard, "完成")) << "the install run did not finish; " << Situation(setup, wizard);
  EXPECT_TRUE(FolderExists(staging)) << "not staged in the Hangul temporary folder";
  EXPECT_FALSE(FolderExists(StagingFolder())) << "staged in the driver's temporary folder";
  ExpectInstalled();

  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kFinalTitle));
  ASSERT_TRUE(wizard.WaitForNext("退出"));
  wizard.Next();
  ASSERT_TRUE(setup.WaitForExit()) << "the finish action did not end the program";
  EXPECT_EQ(setup.ExitCode(), 0u);
  EXPECT_FALSE(FolderExists(staging)) << "the staging folder was left behind";
  EXPECT_TRUE(WaitForRunning(L"tomcatquarn", kWindowWait));
}

TEST_F(FolderNames, SetupInAHangulFolderInstallsNormally) {
  const std::wstring downloads = HangulFolder(L"다운로드");
  std::string problem;
  ASSERT_TRUE(PlaceSetup(downloads, &problem)) << problem;
  SetupProcess& setup = StartFrom(downloads);
  ASSERT_NO_FATAL_FAILURE(InstallThroughWizard(setup, kOwnFolder));
  EXPECT_EQ(setup.ExitCode(), 0u);
  ExpectInstalled();
  EXPECT_FALSE(FolderExists(StagingFolder()));
}

TEST_F(FolderNames, AHangulInstallFolderIsRefusedOnTheFolderPageAndNothingIsInstalled) {
  const std::wstring typed = L"C:\\퀀설치";
  SetupProcess& setup = Start();
  Wizard wizard(setup.Id());
  ASSERT_NO_FATAL_FAILURE(WalkToFolderPage(wizard));
  wizard.TypeFolder(typed);
  ASSERT_TRUE(WaitUntil([&] { return WideTextOf(wizard.FolderBox()) == typed; }));
  wizard.Next();
  MessageBoxView refused =
      ExpectBox(setup, "安装目录的名称中含有安装程序无法处理的字符（例如韩文或表情符号），请另选一个安装目录。", {"确定"});
  EXPECT_TRUE(refused.hasIcon) << "an error box";
  ASSERT_TRUE(Answer(refused, "确定"));
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kFolderTitle));
  EXPECT_TRUE(WideTextOf(wizard.FolderBox()) == typed) << "the typed name was changed";
  EXPECT_TRUE(OpenMessageBoxes(setup.Id()).empty());

  EXPECT_FALSE(FolderExists(typed));
  EXPECT_FALSE(FolderExists(StagingFolder())) << "something was staged";
  EXPECT_FALSE(InstallRecordExists());
  EXPECT_FALSE(QueryService(L"mysqlquarn").exists);
  EXPECT_FALSE(QueryService(L"tomcatquarn").exists);
  setup.End();
  EXPECT_FALSE(FolderExists(typed));
}

// "set CATALINA_HOME=C:\q&t\tomcat5" run by cmd would set C:\q and run t\tomcat5 as a command.
TEST_F(FolderNames, AFolderWithAnAmpersandIsRefusedOnTheFolderPageAndAsDWithNothingWritten) {
  const char* const typed = "C:\\q&t";
  const char* const refusal = "安装目录中包含字符“&”，基础软件的批处理文件无法使用这样的目录，请另选一个安装目录。";
  auto expectNothingWritten = [&] {
    EXPECT_FALSE(FolderExists(tk::ToWide(typed)));
    EXPECT_FALSE(FolderExists(StagingFolder())) << "something was staged";
    EXPECT_FALSE(InstallRecordExists());
    EXPECT_FALSE(UninstallEntryExists());
    EXPECT_FALSE(QueryService(L"mysqlquarn").exists);
    EXPECT_FALSE(QueryService(L"tomcatquarn").exists);
  };
  SetupProcess& setup = Start();
  Wizard wizard(setup.Id());
  ASSERT_NO_FATAL_FAILURE(WalkToFolderPage(wizard));
  wizard.TypeFolder(typed);
  ASSERT_TRUE(WaitUntil([&] { return wizard.Folder() == typed; }));
  wizard.Next();
  MessageBoxView refused = ExpectBox(setup, refusal, {"确定"});
  EXPECT_TRUE(refused.hasIcon) << "an error box";
  ASSERT_TRUE(Answer(refused, "确定"));
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kFolderTitle));
  EXPECT_EQ(wizard.Folder(), typed) << "the typed folder stays, to be corrected";
  setup.End();
  expectNothingWritten();

  const std::wstring log = setupFolder->Path() + L"run.log";
  SetupProcess& silent =
      StartWith(setupFolder->Path(), L"setup.exe", L"/S /D=" + tk::ToWide(typed) + L" /LOG=\"" + log + L"\"");
  ASSERT_TRUE(silent.WaitForExit(kRunWait));
  EXPECT_EQ(silent.ExitCode(), 2u) << "a bad command line";
  EXPECT_NE(FileBytes(log).find(tk::WideToUtf8(tk::ToWide(refusal))), std::string::npos) << FileBytes(log);
  expectNothingWritten();
}

}  // namespace e2e
