// A second start on a recorded installation: repair into the recorded folder, and a fresh
// install that removes the old installation first.
#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/Http.h"
#include "tests/e2e/driver/Services.h"
#include "tests/e2e/driver/WindowQuery.h"
#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

class RecordedInstallation : public EndToEnd {
 protected:
  // Starts setup.exe again and goes on to the choice page.
  void OpenChoicePage(SetupProcess** process, std::unique_ptr<Wizard>* wizard) {
    *process = &Start();
    *wizard = std::make_unique<Wizard>((*process)->Id());
    ASSERT_TRUE((*wizard)->Found());
    ASSERT_NO_FATAL_FAILURE(ExpectPage(**wizard, kWelcomeTitle));
    (*wizard)->Next();
    ASSERT_NO_FATAL_FAILURE(ExpectPage(**wizard, kChoiceTitle));
  }

  // From the agreement page to the end of the program, with the folder box as it is.
  void FinishInstallation(SetupProcess& process, Wizard& wizard) {
    wizard.Next();
    ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kFolderTitle));
    wizard.Next();
    ASSERT_TRUE(WaitForRunEnd(process, wizard, "完成")) << Situation(process, wizard);
    wizard.Next();
    ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kFinalTitle));
    ASSERT_TRUE(wizard.WaitForNext("退出"));
    wizard.Next();
    ASSERT_TRUE(process.WaitForExit());
    EXPECT_EQ(process.ExitCode(), 0u);
  }

  void ExpectInstalledIn(const std::string& folder) {
    EXPECT_EQ(RecordedString(L"installpath"), folder);
    for (const std::string& product : ProductFolders())
      EXPECT_TRUE(FolderExists(tk::ToWide(folder + "\\" + product))) << product;
    EXPECT_TRUE(WaitForRunning(L"mysqlquarn", kWindowWait));
    EXPECT_TRUE(WaitForRunning(L"tomcatquarn", kWindowWait));
    EXPECT_EQ(HttpGet("/", 8080).status, 200);
  }
};

}  // namespace

TEST_F(RecordedInstallation, RepairInstallsAgainIntoTheRecordedFolder) {
  ASSERT_NO_FATAL_FAILURE(InstallThroughWizard(kDefaultFolder));
  // A damaged installation: one product folder lost.
  ASSERT_TRUE(DeleteTree(tk::ToWide(std::string(kDefaultFolder) + "\\ecms")));

  SetupProcess* setup = nullptr;
  std::unique_ptr<Wizard> wizard;
  ASSERT_NO_FATAL_FAILURE(OpenChoicePage(&setup, &wizard));
  wizard->Choose(kRepairOption);
  ASSERT_TRUE(WaitUntil([&] { return wizard->Chosen(kRepairOption); }));
  wizard->Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(*wizard, kAgreementTitle));
  wizard->Choose(kAccept);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(wizard->NextButton()); }));
  wizard->Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(*wizard, kFolderTitle));
  // The recorded folder, fixed.
  ASSERT_NE(wizard->FolderBox(), nullptr);
  EXPECT_EQ(wizard->Folder(), kDefaultFolder);
  EXPECT_FALSE(IsEnabled(wizard->FolderBox()));
  EXPECT_FALSE(IsEnabled(wizard->FolderPickerButton()));
  wizard->Back();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(*wizard, kAgreementTitle));
  ASSERT_NO_FATAL_FAILURE(FinishInstallation(*setup, *wizard));

  ExpectInstalledIn(kDefaultFolder);
  EXPECT_FALSE(FolderExists(StagingFolder()));
}

TEST_F(RecordedInstallation, FreshInstallRemovesTheOldOneAndInstallsAnew) {
  ASSERT_NO_FATAL_FAILURE(InstallThroughWizard(kOwnFolder));
  std::wstring marker = tk::ToWide(std::string(kOwnFolder) + "\\eblog\\left-by-the-user.txt");
  CloseHandle(CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

  SetupProcess* setup = nullptr;
  std::unique_ptr<Wizard> wizard;
  ASSERT_NO_FATAL_FAILURE(OpenChoicePage(&setup, &wizard));
  wizard->Choose(kFreshOption);
  ASSERT_TRUE(WaitUntil([&] { return wizard->Chosen(kFreshOption); }));
  // No confirmation: the removal runs, then the agreement page follows.
  wizard->Next();
  ASSERT_TRUE(wizard->WaitForLabel(kAgreementTitle, kRunWait)) << Situation(*setup, *wizard);
  EXPECT_TRUE(OpenMessageBoxes(setup->Id()).empty());
  EXPECT_FALSE(FileExists(marker)) << "the old installation was not removed";
  EXPECT_FALSE(InstallRecordExists());
  EXPECT_FALSE(QueryService(L"tomcatquarn").exists);

  wizard->Choose(kAccept);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(wizard->NextButton()); }));
  wizard->Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(*wizard, kFolderTitle));
  // The recorded folder is offered and can be changed: this time the default one.
  EXPECT_EQ(wizard->Folder(), kOwnFolder);
  EXPECT_TRUE(IsEnabled(wizard->FolderBox()));
  wizard->TypeFolder(kDefaultFolder);
  ASSERT_TRUE(WaitUntil([&] { return wizard->Folder() == kDefaultFolder; }));
  wizard->Back();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(*wizard, kAgreementTitle));
  ASSERT_NO_FATAL_FAILURE(FinishInstallation(*setup, *wizard));

  ExpectInstalledIn(kDefaultFolder);
  for (const std::string& product : ProductFolders())
    EXPECT_FALSE(FolderExists(tk::ToWide(std::string(kOwnFolder) + "\\" + product))) << product;
}

}  // namespace e2e
