// Faults injected through the machine's real parts, as users' machines break: a full disk, a
// locked file, a read-only install folder, a read-only package, a package that goes before
// staging, a process killed while copying, another server on the site's port. Each must end with a clear message and no success
// text, lose nothing outside the install folder, leave no staging folder once the program
// ends, and let a later run finish the installation or remove it.
// The two small drives come from scripts/with-fault-drives (Q: too small, R: read-only); where the
// machine refuses the mounts, the tests that need them say so and are skipped.
#include <cstdlib>

#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/Http.h"
#include "tests/e2e/driver/Services.h"
#include "tests/e2e/driver/WindowQuery.h"
#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

// A drive the harness mapped for the test ("Q:"), or empty with the reason it is not there.
std::string FaultDrive(const char* variable, std::string* whyNot) {
  const char* drive = std::getenv(variable);
  if (drive && *drive) return drive;
  const char* skipped = std::getenv("QUARN_FAULT_DRIVES_SKIPPED");
  *whyNot = skipped ? skipped : "not run through scripts/with-fault-drives";
  return std::string();
}

class InjectedFault : public EndToEnd {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(EndToEnd::SetUp());
    // Someone else's files beside the install folders: they must come through every fault.
    bystander = std::make_unique<WorkFolder>(L"quarn-bystander");
    keep = bystander->Path() + L"keep.txt";
    if (FILE* file = _wfopen(keep.c_str(), L"wb")) {
      fputs("keep", file);
      fclose(file);
    }
    package = setupFolder->Path() + L"Setup.pak";
    packageBytes = FileBytes(package);
  }
  void TearDown() override {
    EXPECT_EQ(FileBytes(keep), "keep") << "a file outside the install folder was touched";
    EXPECT_EQ(FileBytes(package), packageBytes) << "Setup.pak was changed";
    EndToEnd::TearDown();
  }

  // Starts setup.exe and walks to the folder page, with `folder` typed into the box.
  SetupProcess& StartAtFolderPage(std::unique_ptr<Wizard>* wizard, const std::string& folder) {
    SetupProcess& setup = Start();
    *wizard = std::make_unique<Wizard>(setup.Id());
    WalkToFolderPage(**wizard);
    TypeInto(**wizard, folder);
    return setup;
  }
  static void TypeInto(const Wizard& wizard, const std::string& folder) {
    if (wizard.Folder() == folder) return;
    wizard.TypeFolder(folder);
    EXPECT_TRUE(WaitUntil([&] { return wizard.Folder() == folder; }));
  }

  // Presses Next on the folder page and expects the run to stop with an error box holding
  // `part`; answers it and checks that nothing claims success.
  void ExpectFailedRun(const SetupProcess& setup, const Wizard& wizard, const std::string& part) {
    wizard.Next();
    MessageBoxView box;
    ASSERT_TRUE(WaitForMessageBox(setup.Id(), &box, kRunWait)) << "the run did not stop: " << Situation(setup, wizard);
    EXPECT_NE(box.text.find(part), std::string::npos) << Readable(box.text);
    EXPECT_TRUE(box.hasIcon) << "an error box";
    ASSERT_TRUE(Answer(box, "确定"));
    ASSERT_TRUE(WaitUntil([&] { return IsEnabled(wizard.BackButton()); }));
    EXPECT_FALSE(wizard.ShowsLabel("安装成功!"));
    EXPECT_FALSE(IsEnabled(wizard.NextButton())) << "no way onto the success page";
    EXPECT_TRUE(IsEnabled(wizard.ExitButton()));
  }

  // Back to the folder page, another folder if given, and the run again to its end.
  void RunAgainToTheEnd(SetupProcess& setup, const Wizard& wizard, const std::string& folder = "") {
    wizard.Back();
    ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kFolderTitle));
    if (!folder.empty()) TypeInto(wizard, folder);
    ASSERT_NO_FATAL_FAILURE(FinishFromFolderPage(setup, wizard));
    EXPECT_FALSE(FolderExists(StagingFolder()));
  }

  // Exit with its confirmation; the program ends, with the failed run's exit code, and takes its
  // staging folder with it.
  void ExitAndExpectNoStaging(SetupProcess& setup, const Wizard& wizard, DWORD exitCode = 1) {
    wizard.Exit();
    MessageBoxView box;
    ASSERT_TRUE(WaitForMessageBox(setup.Id(), &box, kWindowWait));
    ASSERT_TRUE(Answer(box, "是"));
    ASSERT_TRUE(setup.WaitForExit());
    EXPECT_EQ(setup.ExitCode(), exitCode) << "the last run failed";
    EXPECT_FALSE(FolderExists(StagingFolder()));
  }

  // A second start removes what the first left: choice page, uninstall, confirmation.
  void RemoveThroughTheChoicePage() {
    SetupProcess& setup = Start();
    Wizard wizard(setup.Id());
    ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kWelcomeTitle));
    wizard.Next();
    ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kChoiceTitle));
    wizard.Choose(kUninstallOption);
    wizard.Next();
    MessageBoxView confirm;
    ASSERT_TRUE(WaitForMessageBox(setup.Id(), &confirm, kWindowWait));
    ASSERT_TRUE(Answer(confirm, "是"));
    ASSERT_TRUE(wizard.WaitForLabel("Quarn系统卸载成功!", kRunWait)) << Situation(setup, wizard);
    EXPECT_FALSE(InstallRecordExists());
    ASSERT_TRUE(wizard.WaitForNext("退出"));
    wizard.Next();
    EXPECT_TRUE(setup.WaitForExit()) << "退出 after a removal ends the program";
  }

  void ExpectRunningSite() {
    EXPECT_TRUE(WaitForRunning(L"mysqlquarn", kWindowWait));
    EXPECT_TRUE(WaitForRunning(L"tomcatquarn", kWindowWait));
    EXPECT_EQ(HttpGet("/", 8080).status, 200);
  }

  std::unique_ptr<WorkFolder> bystander;
  std::wstring keep, package;
  std::string packageBytes;
};

}  // namespace

TEST_F(InjectedFault, AReadOnlyPackageInstalls) {
  ASSERT_TRUE(SetFileAttributesW(package.c_str(), FILE_ATTRIBUTE_READONLY));
  InstallThroughWizard(kOwnFolder);
  SetFileAttributesW(package.c_str(), FILE_ATTRIBUTE_NORMAL);
  ExpectRunningSite();
  EXPECT_FALSE(FolderExists(StagingFolder()));
}

TEST_F(InjectedFault, APackageGoneBeforeStagingIsReportedThenInstallsOnceBack) {
  std::unique_ptr<Wizard> wizard;
  SetupProcess& setup = StartAtFolderPage(&wizard, kOwnFolder);
  std::wstring away = package + L".away";
  ASSERT_TRUE(MoveFileW(package.c_str(), away.c_str()));
  ASSERT_NO_FATAL_FAILURE(ExpectFailedRun(setup, *wizard, "无法找到 Setup.pak文件"));
  EXPECT_FALSE(FileExists(package)) << "no package is made up";
  EXPECT_FALSE(InstallRecordExists());
  ASSERT_TRUE(MoveFileW(away.c_str(), package.c_str()));
  ASSERT_NO_FATAL_FAILURE(RunAgainToTheEnd(setup, *wizard));
  ExpectRunningSite();
}

TEST_F(InjectedFault, ALockedFileStopsARepairUntilItIsLetGo) {
  ASSERT_NO_FATAL_FAILURE(InstallThroughWizard(kOwnFolder));
  std::wstring locked = tk::ToWide(std::string(kOwnFolder) + "\\eblog\\index.html");
  HANDLE holder = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);

  SetupProcess& setup = Start();
  Wizard wizard(setup.Id());
  ASSERT_NO_FATAL_FAILURE(WalkToRepairFolderPage(wizard));
  ASSERT_NO_FATAL_FAILURE(ExpectFailedRun(setup, wizard, "eblog\\index.html"));
  EXPECT_TRUE(InstallRecordExists()) << "the installation stays recorded";
  CloseHandle(holder);
  ASSERT_NO_FATAL_FAILURE(RunAgainToTheEnd(setup, wizard));
  ExpectRunningSite();
}

TEST_F(InjectedFault, ADriveTooSmallIsFoundBeforeAnythingIsWritten) {
  std::string whyNot;
  std::string drive = FaultDrive("QUARN_FULL_DRIVE", &whyNot);
  if (drive.empty()) GTEST_SKIP() << "no small drive: " << whyNot;
  const std::string folder = drive + "\\quarn";
  std::unique_ptr<Wizard> wizard;
  SetupProcess& setup = StartAtFolderPage(&wizard, folder);
  ASSERT_NO_FATAL_FAILURE(ExpectFailedRun(setup, *wizard, "磁盘空间不足"));
  EXPECT_FALSE(FolderExists(tk::ToWide(folder)));
  EXPECT_FALSE(FolderExists(StagingFolder())) << "not even staging began";
  EXPECT_FALSE(InstallRecordExists());
  ASSERT_NO_FATAL_FAILURE(RunAgainToTheEnd(setup, *wizard, kOwnFolder));
  ExpectRunningSite();
}

TEST_F(InjectedFault, AReadOnlyInstallFolderIsReportedAndAnotherFolderWorks) {
  std::string whyNot;
  std::string drive = FaultDrive("QUARN_READONLY_DRIVE", &whyNot);
  if (drive.empty()) GTEST_SKIP() << "no read-only drive: " << whyNot;
  // The harness made R:\quarn before the drive became read-only: nothing can be written into
  // it, not even the uninstaller that comes before the record, so nothing is recorded either.
  {
    const std::string folder = drive + "\\quarn";
    std::unique_ptr<Wizard> wizard;
    SetupProcess& setup = StartAtFolderPage(&wizard, folder);
    ASSERT_NO_FATAL_FAILURE(ExpectFailedRun(setup, *wizard, folder));
    ASSERT_NO_FATAL_FAILURE(ExitAndExpectNoStaging(setup, *wizard));
    EXPECT_FALSE(InstallRecordExists());
  }
  // R:\new cannot even be made; another folder works.
  const std::string folder = drive + "\\new";
  std::unique_ptr<Wizard> wizard;
  SetupProcess& setup = StartAtFolderPage(&wizard, folder);
  ASSERT_NO_FATAL_FAILURE(ExpectFailedRun(setup, *wizard, folder));
  ASSERT_NO_FATAL_FAILURE(RunAgainToTheEnd(setup, *wizard, kOwnFolder));
  EXPECT_EQ(RecordedString(L"installpath"), kOwnFolder);
  ExpectRunningSite();
}

TEST_F(InjectedFault, AProcessKilledWhileCopyingCanBeRepairedByTheNextStart) {
  std::unique_ptr<Wizard> wizard;
  SetupProcess& first = StartAtFolderPage(&wizard, kOwnFolder);
  wizard->Next();
  // The record is written right before the first file is copied, the uninstall entry last:
  // killed once that is there, the run is copying, not in the middle of the record.
  ASSERT_TRUE(WaitUntil([] { return UninstallEntryExists(); }, kRunWait));
  first.End();

  SetupProcess& setup = Start();
  Wizard again(setup.Id());
  // The interrupted installation is offered for repair, into its folder.
  ASSERT_NO_FATAL_FAILURE(WalkToRepairFolderPage(again));
  EXPECT_EQ(again.Folder(), kOwnFolder);
  ASSERT_NO_FATAL_FAILURE(FinishFromFolderPage(setup, again));
  EXPECT_FALSE(FolderExists(StagingFolder()));
  ExpectRunningSite();
}

// Another web server on the site's port would answer in place of the installed site: the run
// stops before anything is written, naming the port and the program, and goes on once freed.
// A file where the install folder should be: the run fails, and a wizard left after it tells
// whoever started it (exit code 1), not success.
TEST_F(InjectedFault, AWizardLeftAfterAFailedRunEndsWithOne) {
  const std::wstring blocker = tk::ToWide(kOwnFolder);
  ASSERT_TRUE(WriteBytes(blocker, "not a folder"));
  std::unique_ptr<Wizard> wizard;
  SetupProcess& setup = StartAtFolderPage(&wizard, kOwnFolder);
  ASSERT_NO_FATAL_FAILURE(ExpectFailedRun(setup, *wizard, kOwnFolder));
  ASSERT_NO_FATAL_FAILURE(ExitAndExpectNoStaging(setup, *wizard, 1));
  EXPECT_FALSE(InstallRecordExists());
  EXPECT_EQ(FileBytes(blocker), "not a folder");
  DeleteFileW(blocker.c_str());
}

TEST_F(InjectedFault, AnotherProgramOnTheSitesPortStopsTheRunBeforeAnythingIsWritten) {
  PortHolder server(8080);
  ASSERT_TRUE(server.Listening());
  std::unique_ptr<Wizard> wizard;
  SetupProcess& setup = StartAtFolderPage(&wizard, kOwnFolder);
  ASSERT_NO_FATAL_FAILURE(
      ExpectFailedRun(setup, *wizard, "网站端口 8080 正被" + ThisProgramHolding(8080) + "使用。"));
  EXPECT_FALSE(FolderExists(tk::ToWide(kOwnFolder)));
  EXPECT_FALSE(FolderExists(StagingFolder())) << "not even staging began";
  EXPECT_FALSE(InstallRecordExists());
  server.Close();
  ASSERT_NO_FATAL_FAILURE(RunAgainToTheEnd(setup, *wizard));
  ExpectRunningSite();
}

}  // namespace e2e
