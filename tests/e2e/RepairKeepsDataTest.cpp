// What a user installed the bundle for: a site that runs, and data that survives a repair or an
// upgrade. A run whose services do not start claims no success and leaves a record a removal
// can follow; a repair or an upgrade leaves the database's data file and an edited my.ini as
// they were, restores a package file that went missing, and the services run again after it.
#include <windows.h>

#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/Http.h"
#include "tests/e2e/driver/Services.h"
#include "tests/e2e/driver/WindowQuery.h"
#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

class RepairKeepsData : public EndToEnd {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(EndToEnd::SetUp());
    log = setupFolder->Path() + L"run.log";
    packageFiles = std::make_unique<WorkFolder>(L"quarn-package");
  }

  // A program of the build (quarnpak.exe, the stand-ins) run to its end; its exit code.
  DWORD Run(const std::wstring& folder, const std::wstring& program, const std::wstring& arguments) {
    SetupProcess& process = StartWith(folder, program, arguments);
    EXPECT_TRUE(process.Started()) << tk::WideToUtf8(program);
    EXPECT_TRUE(process.WaitForExit(kRunWait)) << tk::WideToUtf8(program) << " did not end";
    return process.ExitCode();
  }
  DWORD Setup(const std::wstring& arguments) {
    return Run(setupFolder->Path(), L"setup.exe", arguments + L" /LOG=\"" + log + L"\"");
  }

  // The demo package unpacked, changed by `change`, and packed again as the test's Setup.pak.
  template <typename Change>
  void RepackPackage(const std::wstring& version, Change change) {
    const std::wstring tree = packageFiles->Path() + L"tree";
    DeleteTree(tree);
    ASSERT_EQ(Run(ProgramFolder(), L"quarnpak.exe", L"extract \"" + setupFolder->Path() + L"Setup.pak\" \"" + tree + L"\""), 0u);
    change(tree);
    ASSERT_EQ(Run(ProgramFolder(), L"quarnpak.exe",
                  L"create \"" + tree + L"\" \"" + setupFolder->Path() + L"Setup.pak\" --version " + version),
              0u);
  }

  std::wstring InFolder(const char* relative) const { return tk::ToWide(std::string(kOwnFolder) + "\\" + relative); }

  void ExpectRunningSite() {
    EXPECT_TRUE(WaitForRunning(L"mysqlquarn", kWindowWait));
    EXPECT_TRUE(WaitForRunning(L"tomcatquarn", kWindowWait));
    EXPECT_EQ(HttpGet("/", 8080).status, 200);
  }

  // The user's data as a repair must leave it: rows the database wrote, an edited my.ini.
  void UseTheSite() {
    ASSERT_EQ(Run(tk::ToWide(std::string(kOwnFolder) + "\\MySQL5\\bin\\"), L"mysqld-nt.exe", L"--write mysqlquarn"), 0u);
    ASSERT_EQ(Run(tk::ToWide(std::string(kOwnFolder) + "\\MySQL5\\bin\\"), L"mysqld-nt.exe", L"--write mysqlquarn"), 0u);
    const std::wstring myIni = InFolder("MySQL5\\my.ini");
    if (FILE* file = _wfopen(myIni.c_str(), L"ab")) {
      fputs("max_allowed_packet=16M\r\n", file);
      fclose(file);
    }
  }

  std::wstring log;
  std::unique_ptr<WorkFolder> packageFiles;
};

}  // namespace

TEST_F(RepairKeepsData, AServiceThatCannotStartIsNoSuccessAndTheRecordStaysForARemoval) {
  ASSERT_NO_FATAL_FAILURE(RepackPackage(L"2.0.0", [](const std::wstring& tree) {
    ASSERT_TRUE(DeleteFileW((tree + L"\\MySQL5\\bin\\mysqld-nt.exe").c_str()));
  }));
  SetupProcess& setup = Start();
  Wizard wizard(setup.Id());
  ASSERT_NO_FATAL_FAILURE(WalkToFolderPage(wizard, kOwnFolder));
  wizard.Next();
  MessageBoxView box;
  ASSERT_TRUE(WaitForMessageBox(setup.Id(), &box, kRunWait)) << "the run did not stop: " << Situation(setup, wizard);
  EXPECT_NE(box.text.find("mysqlquarn"), std::string::npos) << Readable(box.text);
  EXPECT_NE(box.text.find("安装没有完成"), std::string::npos) << Readable(box.text);
  ASSERT_TRUE(Answer(box, "确定"));
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(wizard.BackButton()); }));
  EXPECT_FALSE(wizard.ShowsLabel("安装成功!"));
  EXPECT_FALSE(IsEnabled(wizard.NextButton())) << "no way onto the success page";
  EXPECT_EQ(RecordedString(L"installpath"), kOwnFolder) << "the record stays for a repair or a removal";
  wizard.Exit();
  ASSERT_TRUE(WaitForMessageBox(setup.Id(), &box, kWindowWait));
  ASSERT_TRUE(Answer(box, "是"));
  ASSERT_TRUE(setup.WaitForExit());

  EXPECT_EQ(Setup(L"/uninstall /S"), 0u) << FileBytes(log);
  EXPECT_FALSE(InstallRecordExists());
  EXPECT_TRUE(WaitUntil([&] { return !FolderExists(tk::ToWide(kOwnFolder)); })) << "the install folder stays";
}

TEST_F(RepairKeepsData, ARepairKeepsWhatChangedAndRestoresWhatWentMissing) {
  ASSERT_EQ(Setup(L"/S /D=" + tk::ToWide(kOwnFolder)), 0u) << FileBytes(log);
  ExpectRunningSite();
  ASSERT_NO_FATAL_FAILURE(UseTheSite());
  ASSERT_TRUE(DeleteFileW(InFolder("eblog\\index.html").c_str()));
  // Read while the database runs: it shares its data file for reading only.
  const std::string data = FileBytes(InFolder("MySQL5\\data\\ibdata1"));
  const std::string myIni = FileBytes(InFolder("MySQL5\\my.ini"));
  ASSERT_NE(data.find("row 2"), std::string::npos) << "the database wrote its rows";

  ASSERT_EQ(Setup(L"/S"), 0u) << FileBytes(log);
  EXPECT_EQ(FileBytes(InFolder("MySQL5\\data\\ibdata1")), data) << "the database's data survive the repair";
  EXPECT_EQ(FileBytes(InFolder("MySQL5\\my.ini")), myIni) << "the edited my.ini survives the repair";
  EXPECT_TRUE(FileExists(InFolder("eblog\\index.html"))) << "a package file that went missing is back";
  ExpectRunningSite();
  EXPECT_NE(FileBytes(log).find("ibdata1"), std::string::npos) << "the log names the kept files";

  // Kept once, kept again: the rewritten list still tells the changed files apart.
  ASSERT_EQ(Setup(L"/S"), 0u) << FileBytes(log);
  EXPECT_EQ(FileBytes(InFolder("MySQL5\\data\\ibdata1")), data);
  EXPECT_EQ(FileBytes(InFolder("MySQL5\\my.ini")), myIni);
}

TEST_F(RepairKeepsData, AnUpgradeTakesTheNewVersionAndKeepsTheData) {
  ASSERT_EQ(Setup(L"/S /D=" + tk::ToWide(kOwnFolder)), 0u) << FileBytes(log);
  ASSERT_NO_FATAL_FAILURE(UseTheSite());
  const std::string data = FileBytes(InFolder("MySQL5\\data\\ibdata1"));
  ASSERT_NO_FATAL_FAILURE(RepackPackage(L"2.1.0", [](const std::wstring& tree) {
    if (FILE* file = _wfopen((tree + L"\\eblog\\index.html").c_str(), L"wb")) {
      fputs("<h1>blog 2.1</h1>", file);
      fclose(file);
    }
  }));

  ASSERT_EQ(Setup(L"/S"), 0u) << FileBytes(log);
  EXPECT_EQ(RecordedString(L"ver"), "2.1.0");
  EXPECT_EQ(FileBytes(InFolder("MySQL5\\data\\ibdata1")), data);
  EXPECT_EQ(FileBytes(InFolder("eblog\\index.html")), "<h1>blog 2.1</h1>") << "an unchanged page takes the new one";
  ExpectRunningSite();
}

// A 1.0.0 package over a recorded 3.0.0. /S refuses it (7), changes nothing and says so in the
// log; the wizard shows both versions and asks, "否" staying on the choice page; /S
// /ALLOWDOWNGRADE installs it, and the log says it was allowed.
TEST_F(RepairKeepsData, AnOlderPackageIsRefusedByDefaultAskedAboutInTheWizardAndTakenWhenAllowed) {
  ASSERT_EQ(Setup(L"/S /D=" + tk::ToWide(kOwnFolder)), 0u) << FileBytes(log);
  const std::wstring newer = L"3.0.0";
  ASSERT_TRUE(WriteRecordValue(L"version", L"ver", REG_SZ,
                               std::string(reinterpret_cast<const char*>(newer.c_str()), (newer.size() + 1) * 2)));
  ASSERT_NO_FATAL_FAILURE(RepackPackage(L"1.0.0", [](const std::wstring& tree) {
    if (FILE* file = _wfopen((tree + L"\\eblog\\index.html").c_str(), L"wb")) {
      fputs("<h1>blog 1.0</h1>", file);
      fclose(file);
    }
  }));
  const std::string page = FileBytes(InFolder("eblog\\index.html"));

  EXPECT_EQ(Setup(L"/S"), 7u) << FileBytes(log);
  EXPECT_EQ(RecordedString(L"ver"), "3.0.0");
  EXPECT_EQ(FileBytes(InFolder("eblog\\index.html")), page);
  EXPECT_NE(FileBytes(log).find(tk::WideToUtf8(tk::ToWide("已拒绝降级安装"))), std::string::npos) << FileBytes(log);
  ExpectRunningSite();

  SetupProcess& wizardProcess = Start();
  Wizard wizard(wizardProcess.Id());
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kWelcomeTitle));
  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kChoiceTitle));
  EXPECT_TRUE(wizard.ShowsLabel("3.0.0"));
  EXPECT_TRUE(wizard.ShowsLabel("本安装包的版本号为：1.0.0，比已安装的版本旧"));
  wizard.Choose(kRepairOption);
  ASSERT_TRUE(WaitUntil([&] { return wizard.Chosen(kRepairOption); }));
  const std::string question =
      "本安装包的版本 1.0.0 比已安装的版本 3.0.0 旧。降级安装后，较新版本留下的数据可能无法使用。\r\n您确认要降级安装吗?";
  wizard.Next();
  ASSERT_TRUE(Answer(ExpectBox(wizardProcess, question, {"是", "否"}), "否"));
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kChoiceTitle));
  wizard.Next();
  ASSERT_TRUE(Answer(ExpectBox(wizardProcess, question, {"是", "否"}), "是"));
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kAgreementTitle));
  wizard.Exit();
  ASSERT_TRUE(Answer(ExpectBox(wizardProcess, "安装程序未完成,您确认要退出?", {"是", "否"}), "是"));
  ASSERT_TRUE(wizardProcess.WaitForExit());
  EXPECT_EQ(wizardProcess.ExitCode(), 1602u) << "left before any change";
  EXPECT_EQ(RecordedString(L"ver"), "3.0.0");

  EXPECT_EQ(Setup(L"/S /ALLOWDOWNGRADE"), 0u) << FileBytes(log);
  EXPECT_EQ(RecordedString(L"ver"), "1.0.0");
  EXPECT_EQ(FileBytes(InFolder("eblog\\index.html")), "<h1>blog 1.0</h1>");
  EXPECT_NE(FileBytes(log).find(tk::WideToUtf8(tk::ToWide("按 /ALLOWDOWNGRADE 降级安装"))), std::string::npos)
      << FileBytes(log);
  ExpectRunningSite();
}

}  // namespace e2e
