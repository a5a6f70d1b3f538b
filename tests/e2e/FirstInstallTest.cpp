// A first installation from the welcome page to the finish action, then a second start that
// offers the choice page and removes the installation. With $QUARN_SHOT_DIR set, it saves a
// picture of every page on the way (the demo walk runs it so).
#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/Http.h"
#include "tests/e2e/driver/Input.h"
#include "tests/e2e/driver/Services.h"
#include "tests/e2e/driver/ToolConsoles.h"
#include "tests/e2e/driver/WindowQuery.h"
#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

class FirstInstallation : public EndToEnd {};

std::string FileText(const std::string& path) {
  std::string text;
  if (FILE* file = _wfopen(tk::ToWide(path).c_str(), L"rb")) {
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, got);
    fclose(file);
  }
  return text;
}

// The files (not folders) anywhere below folder.
int FilesBelow(const std::wstring& folder) {
  int files = 0;
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      files += FilesBelow(folder + name + L"\\");
    else
      ++files;
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return files;
}

bool ButtonsEnabled(const Wizard& wizard, bool back, bool next, bool exit) {
  return IsEnabled(wizard.BackButton()) == back && IsEnabled(wizard.NextButton()) == next &&
         IsEnabled(wizard.ExitButton()) == exit;
}

}  // namespace

TEST_F(FirstInstallation, FromWelcomeToFinishThenTheSecondStartRemovesIt) {
  // What the machine had before the test, as the fixture noted it.
  const bool javaWasSet = javaHome->WasSet();
  ToolConsoles consoles(setupFolder->Path() + L"consoles.txt");
  SetupProcess& setup = Start();
  Wizard wizard(setup.Id());
  ASSERT_TRUE(wizard.Found()) << "no wizard window";

  // Welcome: Back disabled, Next focused.
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kWelcomeTitle));
  EXPECT_TRUE(ButtonsEnabled(wizard, false, true, true));
  EXPECT_EQ(Readable(wizard.NextCaption()), Readable("下一步"));
  EXPECT_EQ(FocusedControl(wizard.Window()), wizard.NextButton());
  Shot(wizard, "01-welcome");

  // Agreement: the refusal is preselected, so Next waits for the acceptance.
  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kAgreementTitle));
  EXPECT_TRUE(ButtonsEnabled(wizard, true, false, true));
  wizard.Choose(kAccept);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(wizard.NextButton()); })) << "accepting did not enable Next";
  EXPECT_TRUE(wizard.Chosen(kAccept));
  Shot(wizard, "02-agreement");

  // Install folder: the default first; a typed blank is reported and removed when the focus
  // moves on (Tab), and the focus comes back to the box.
  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kFolderTitle));
  EXPECT_EQ(wizard.Folder(), kDefaultFolder);
  wizard.TypeFolder("C:\\quarn e2e");
  ASSERT_TRUE(WaitUntil([&] { return wizard.Folder() == "C:\\quarn e2e"; })) << Readable(wizard.Folder());
  PressKey(wizard.FolderBox(), VK_TAB);
  MessageBoxView blank = ExpectBox(setup, "您建立的目录中包含空格，系统自动过滤了空格，请确认", {"确定"});
  EXPECT_FALSE(blank.hasIcon) << "a plain box has no icon";
  ASSERT_TRUE(Answer(blank, "确定"));
  EXPECT_TRUE(WaitUntil([&] { return wizard.Folder() == kOwnFolder; })) << Readable(wizard.Folder());
  EXPECT_TRUE(WaitUntil([&] { return FocusedControl(wizard.Window()) == wizard.FolderBox(); }));
  Shot(wizard, "03-folder");

  // Copying: the install run starts on arrival; Next then reads "完成" and is the only button.
  wizard.Next();
  ASSERT_TRUE(wizard.WaitForLabel(kCopyingSubtitle)) << Readable(wizard.Labels());
  ASSERT_TRUE(WaitForRunEnd(setup, wizard, "完成")) << "the install run did not finish; " << Situation(setup, wizard);
  EXPECT_TRUE(ButtonsEnabled(wizard, false, true, false));
  EXPECT_TRUE(wizard.ShowsLabel("安装成功!"));
  EXPECT_TRUE(OpenMessageBoxes(setup.Id()).empty());
  // The service tools ran in consoles of their own, shown as a person watching expects.
  EXPECT_EQ(consoles.Take(), (std::vector<std::string>{"mysqld-nt: shown", "tomcat5-service: shown"}));
  Shot(wizard, "04-copying");

  // What the run left on the machine.
  for (const wchar_t* service : {L"mysqlquarn", L"tomcatquarn"}) {
    EXPECT_TRUE(WaitForRunning(service, kWindowWait)) << tk::WideToUtf8(service) << " does not run";
  }
  EXPECT_EQ(RegisteredStartType(L"tomcatquarn"), static_cast<DWORD>(SERVICE_AUTO_START));
  HttpAnswer site = HttpGet("/", 8080);
  EXPECT_EQ(site.status, 200) << "the site does not answer on port 8080";
  EXPECT_TRUE(InstallRecordExists());
  EXPECT_TRUE(UninstallEntryExists());
  EXPECT_EQ(RecordedString(L"installpath"), kOwnFolder);
  for (const std::string& product : ProductFolders())
    EXPECT_TRUE(FolderExists(tk::ToWide(std::string(kOwnFolder) + "\\" + product))) << product;
  // Not the default folder: the configuration names the chosen one.
  EXPECT_NE(FileText(std::string(kOwnFolder) + "\\tomcat5\\conf\\Catalina\\localhost\\cms.xml").find("C:/quarne2e/"),
            std::string::npos);
  std::wstring java;
  if (!javaWasSet) {
    EXPECT_TRUE(ReadSystemVariable(L"JAVA_HOME", &java));
    EXPECT_EQ(tk::FromWide(java), std::string(kOwnFolder) + "\\java");
  }

  // Final page: the folder and the site address; Next reads "退出".
  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kFinalTitle));
  ASSERT_TRUE(wizard.WaitForNext("退出"));
  EXPECT_TRUE(ButtonsEnabled(wizard, false, true, false));
  EXPECT_TRUE(wizard.ShowsLabel("您已经成功将Quarn软件及其需要的基础软件环境安装在了你的 C:\\quarne2e 目录下!"))
      << Readable(wizard.Labels());
  EXPECT_TRUE(wizard.ShowsLabel(kSiteAddress));
  Shot(wizard, "05-final");

  // Finish: the site opened through the shell, the window closed, the staging folder gone.
  // The install folder shares the staging folder's volume: the files were moved into place.
  EXPECT_TRUE(FolderExists(StagingFolder()));
  EXPECT_EQ(FilesBelow(StagingFolder()), 0);
  wizard.Next();
  ASSERT_TRUE(setup.WaitForExit()) << "the finish action did not end the program";
  EXPECT_EQ(setup.ExitCode(), 0u);
  EXPECT_FALSE(FolderExists(StagingFolder()));
  if (browser->Active()) {
    EXPECT_TRUE(WaitUntil([&] { return !browser->Opened().empty(); })) << "the shell opened no address";
    EXPECT_EQ(browser->Opened(), std::string(kSiteAddress) + "/\n");
  }
  EXPECT_EQ(QueryService(L"tomcatquarn").state, static_cast<DWORD>(SERVICE_RUNNING));

  // Second start: the recorded installation offers the choice, with removal preselected.
  SetupProcess& second = Start();
  Wizard again(second.Id());
  ASSERT_TRUE(again.Found());
  ASSERT_NO_FATAL_FAILURE(ExpectPage(again, kWelcomeTitle));
  again.Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(again, kChoiceTitle));
  EXPECT_TRUE(again.ShowsLabel("2.0.0")) << "recorded version; labels " << Readable(again.Labels());
  EXPECT_TRUE(again.Chosen(kUninstallOption));
  Shot(again, "06-choice");

  again.Next();
  MessageBoxView confirm = ExpectBox(second, "您确认您要卸载Quarn吗?", {"是", "否"});
  ASSERT_TRUE(Answer(confirm, "是"));
  ASSERT_TRUE(WaitForRunEnd(second, again, "退出")) << Situation(second, again);
  EXPECT_TRUE(again.ShowsLabel("Quarn系统卸载成功!")) << Situation(second, again);
  EXPECT_TRUE(ButtonsEnabled(again, true, true, true));
  Shot(again, "07-uninstalled");

  // Everything the installation made is gone again.
  EXPECT_FALSE(QueryService(L"mysqlquarn").exists);
  EXPECT_FALSE(QueryService(L"tomcatquarn").exists);
  EXPECT_TRUE(WaitUntil([] { return !PortInUse(8080); })) << "the site still answers";
  EXPECT_FALSE(InstallRecordExists());
  EXPECT_FALSE(UninstallEntryExists());
  // The product folders go; the install folder itself may stay, but empty.
  EXPECT_TRUE(FolderIsEmpty(tk::ToWide(kOwnFolder)));
  bool javaIsSet = ReadSystemVariable(L"JAVA_HOME", &java);
  EXPECT_EQ(javaIsSet, javaWasSet);
  if (javaWasSet) {
    EXPECT_EQ(java, javaHome->Value());
  }

  // "退出" after a removal ends the program: there is no site left to open.
  again.Next();
  EXPECT_TRUE(second.WaitForExit());
  EXPECT_TRUE(OpenMessageBoxes(second.Id()).empty());
}

}  // namespace e2e
