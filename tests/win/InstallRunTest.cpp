// The install run into the default folder and others: copies, patched configuration files,
// JAVA_HOME, and the end states of the copying page.
#include <gtest/gtest.h>

#include <memory>

#include "common/portable/ProcessValues.h"
#include "tests/win/support/EngineFixture.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/Registry.h"
#include "ui/InstallRecordKeys.h"

using namespace testing_support;

namespace {

class InstallRun : public EngineFixture {
 protected:
  // Runs the install into folder (as typed into the folder box).
  void Install(const std::string& typedFolder, bool forum, bool cms) {
    CreateWizardWith(BundleFiles(forum, cms));
    form->Edit1->SetText(typedFolder);
    try {
      form->RunInstall();
    } catch (const std::exception& error) {
      // GBK would not survive the console: the reason is shown in UTF-8.
      FAIL() << "the run failed: " << tk::WideToUtf8(tk::ToWide(error.what()));
    }
  }
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
  EXPECT_EQ(form->NextBtn->Caption(), "完成");
  EXPECT_TRUE(form->NextBtn->Enabled());
  EXPECT_FALSE(form->UpBtn->Enabled());
  EXPECT_FALSE(form->CloseBtn->Enabled());
  EXPECT_FALSE(form->FindControl("Label16")->Visible());
  EXPECT_EQ(form->Label17->Caption(), "安装成功!");
  EXPECT_EQ(form->Gauge1->Progress(), form->Gauge1->MaxValue());
  // The gauge counted the archive's entries and then every copied file on top.
  EXPECT_EQ(form->Gauge1->MaxValue(), 2 * static_cast<int>(shipped.size()));
  EXPECT_EQ(form->ProductList->Count(), 6);
  EXPECT_TRUE(form->ProductList->Checked(5));
  EXPECT_EQ(form->Label23->Caption().rfind("本次安装包版本为：V2.0.0 制作日期：", 0), 0u);
}

TEST_F(InstallRun, AnUpperCaseDriveLetterIsAnotherFolderAndIsPatched) {
  Install("C:\\quarn", true, false);
  EXPECT_EQ(Config("C:\\quarn", catalina), "set JAVA_HOME=C:\\quarn\\java\r\nset CATALINA_HOME=C:\\quarn\\tomcat5\r\n");
  EXPECT_EQ(Config("C:\\quarn", myIni), "[mysqld]\r\nbasedir=C:/quarn/MySQL5\r\ndatadir=C:/quarn/MySQL5/data\r\n");
}

TEST_F(InstallRun, ForumOnlyPatchesItsFilesAndKeepsTheContextPath) {
  std::string target = folder.Path() + "web";
  Install(target + "\\", true, false);
  EXPECT_EQ(form->Edit1->Text(), target) << "one trailing backslash is cut";
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
  Install(target, true, false);
  EXPECT_TRUE(form->HadSetJAVA_HOME);
  EXPECT_EQ(SystemJavaHome(), target + "\\java");
}

TEST_F(InstallRun, AnExistingJavaHomeIsLeftAlone) {
  SetSystemJavaHome("D:\\jdk");
  Install(folder.Path() + "web", true, false);
  EXPECT_FALSE(form->HadSetJAVA_HOME);
  EXPECT_EQ(SystemJavaHome(), "D:\\jdk");
}

TEST_F(InstallRun, FilesThatCannotBeCopiedFailTheRunWithTheirReason) {
  std::string target = folder.Path() + "web";
  MakeFolders(target + "\\eblog");
  WriteFile(target + "\\eblog\\index.html", "old");
  CreateWizardWith(BundleFiles(true, true));
  form->Edit1->SetText(target);
  std::string message;
  {
    // Another program holds the target file, so copying over it fails.
    tk::TFileStream holder(target + "\\eblog\\index.html", tk::FileMode::OpenReadWrite);
    try {
      form->RunInstall();
    } catch (const ui::InstallFailed& error) {
      message = error.what();
    }
  }
  EXPECT_NE(message.find("有 1 个文件无法拷贝"), std::string::npos) << message;
  EXPECT_NE(message.find("eblog\\index.html"), std::string::npos) << message;
  EXPECT_NE(form->NextBtn->Caption(), "完成");
  EXPECT_NE(form->Label17->Caption(), "安装成功!");
  EXPECT_TRUE(KeyExists(ui::kVersionKey)) << "the record lets the partial installation be removed";
}

namespace {

// Through Next to the copying page with a file of the install folder held open; the run fails.
class FailedInstallRun : public InstallRun {
 protected:
  void WalkToTheCopyingPage() {
    Press(form->NextBtn);
    Press(form->RadioButton2);
    Press(form->NextBtn);
    Press(form->NextBtn);
  }
  void RunIntoAHeldFile() {
    target = folder.Path() + "web";
    MakeFolders(target + "\\eblog");
    WriteFile(target + "\\eblog\\index.html", "old");
    CreateWizardWith(BundleFiles(false, false));
    form->Edit1->SetText(target);
    holder = std::make_unique<tk::TFileStream>(target + "\\eblog\\index.html", tk::FileMode::OpenReadWrite);
    WalkToTheCopyingPage();
  }
  std::string target;
  std::unique_ptr<tk::TFileStream> holder;
};

}  // namespace

TEST_F(FailedInstallRun, ShowsItsReasonAndNeverLeadsToTheSuccessPage) {
  RunIntoAHeldFile();
  EXPECT_EQ(VisiblePages(), "FullInstallPage_2");
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Error);
  EXPECT_NE(boxes.Boxes()[0].text.find("eblog\\index.html"), std::string::npos) << boxes.Boxes()[0].text;
  EXPECT_EQ(form->Label17->Caption(), "安装没有完成。");
  EXPECT_NE(form->Memo3->Line(form->Memo3->LineCount() - 1).find("安装失败："), std::string::npos);
  EXPECT_FALSE(form->NextBtn->Enabled()) << "no way onto the final page";
  EXPECT_EQ(form->NextBtn->Caption(), "下一步");
  EXPECT_TRUE(form->UpBtn->Enabled());
  EXPECT_TRUE(form->CloseBtn->Enabled());
}

TEST_F(FailedInstallRun, BackAndNextRunAgainAndCanSucceed) {
  RunIntoAHeldFile();
  holder.reset();  // the other program lets go
  Press(form->UpBtn);
  EXPECT_EQ(VisiblePages(), "FullInstallPage_1");
  Press(form->NextBtn);
  EXPECT_EQ(form->Label17->Caption(), "安装成功!") << "the package is staged again";
  EXPECT_EQ(ReadFile(target + "\\eblog\\index.html"), "<h1>blog</h1>\r\n");
  Press(form->NextBtn);
  EXPECT_EQ(VisiblePages(), "FullInstallPage_3");
}

TEST_F(FailedInstallRun, AnUnusableToolFolderIsReportedNotAbsorbed) {
  // A MySQL5 folder without its bin folder: the service step has nowhere to run.
  std::vector<PackageFile> files;
  for (const PackageFile& file : BundleFiles(false, false))
    if (file.name.rfind("MySQL5/bin/", 0) != 0) files.push_back(file);
  CreateWizardWith(files);
  form->Edit1->SetText(folder.Path() + "web");
  WalkToTheCopyingPage();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_NE(boxes.Boxes()[0].text.find("MySQL5\\bin"), std::string::npos) << boxes.Boxes()[0].text;
  EXPECT_FALSE(form->NextBtn->Enabled());
  EXPECT_NE(form->Label17->Caption(), "安装成功!");
}

TEST_F(InstallRun, ARepairKeepsTheJavaHomeOurEarlierRunCreated) {
  std::string target = folder.Path() + "web";
  SetSystemJavaHome(target + "\\java");
  WriteRecord(target, {"java", "tomcat5"}, /*hadSetJavaHome=*/true);
  Install(target, false, false);
  EXPECT_TRUE(form->HadSetJAVA_HOME) << "still ours, so a later removal takes it away";
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey(ui::kVersionKey, false));
  EXPECT_EQ(registry.ReadInteger("HadSetJAVA_HOME"), 1);
}

TEST_F(InstallRun, ACloseDuringTheRunWaitsForItsEndThenDeletesTheStagingFolder) {
  std::string target = folder.Path() + "web";
  CreateWizardWith(BundleFiles(false, false));
  form->Edit1->SetText(target);
  Press(form->NextBtn);
  Press(form->RadioButton2);
  Press(form->NextBtn);
  // The title-bar close arrives while the run lets messages through.
  PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
  Press(form->NextBtn);
  EXPECT_EQ(form->Label17->Caption(), "安装成功!") << "the run went on to its end";
  EXPECT_TRUE(Exists(target + "\\eblog\\index.html"));
  EXPECT_TRUE(application.Terminated()) << "and the window closed after it";
  EXPECT_FALSE(Exists(pub::Process().StagingFolder));
}

TEST_F(InstallRun, TheRunGivesBackTheCurrentFolderItStartedWith) {
  wchar_t before[MAX_PATH], after[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  Install(folder.Path() + "web", true, true);
  GetCurrentDirectoryW(MAX_PATH, after);
  EXPECT_STREQ(after, before);
}

namespace {
bool ServiceExists(const wchar_t* name) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = manager ? OpenServiceW(manager, name, SERVICE_QUERY_STATUS) : nullptr;
  if (service) CloseServiceHandle(service);
  if (manager) CloseServiceHandle(manager);
  return service != nullptr;
}
}  // namespace

TEST_F(InstallRun, TheFinalPageRegistersTheDatabaseServiceOnArrivalAfterARun) {
  std::string target = folder.Path() + "web";
  CreateWizardWith(BundleFiles(false, false));
  form->Edit1->SetText(target);
  Press(form->NextBtn);
  Press(form->RadioButton2);
  Press(form->NextBtn);
  Press(form->NextBtn);
  ASSERT_EQ(form->NextBtn->Caption(), "完成");
  DeleteService(L"mysqlquarn");
  Press(form->NextBtn);
  EXPECT_EQ(VisiblePages(), "FullInstallPage_3");
  EXPECT_EQ(form->Label19->Caption(), "您已经成功将Quarn软件及其需要的基础软件环境安装在了你的 " + target + " 目录下!");
  EXPECT_EQ(form->NextBtn->Caption(), "退出");
  EXPECT_FALSE(form->UpBtn->Enabled());
  EXPECT_FALSE(form->CloseBtn->Enabled());
  EXPECT_TRUE(ServiceExists(L"mysqlquarn")) << "mysqld-nt --install mysqlquarn ran";
}

TEST_F(InstallRun, BackOntoTheFinalPageRunsNothing) {
  // After the uninstall choice, Back from the uninstall page shows the final page.
  std::string install = folder.Path() + "recorded";
  MakeFolders(install + "\\eblog");
  WriteRecord(install, {"eblog"});
  CreateWizard(true);
  Press(form->NextBtn);
  Press(form->NextBtn);  // the uninstall choice is preselected; the recorder answers yes
  ASSERT_EQ(VisiblePages(), "UninstallPage");
  Press(form->UpBtn);
  EXPECT_EQ(VisiblePages(), "FullInstallPage_3");
  EXPECT_EQ(form->NextBtn->Caption(), "退出");
  EXPECT_FALSE(ServiceExists(L"mysqlquarn")) << "Back runs nothing";
}
