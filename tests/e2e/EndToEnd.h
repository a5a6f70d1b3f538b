// The fixture of the end-to-end tests: setup.exe and the demo Setup.pak in a folder of their
// own, worked from outside through the driver, on a machine put back in order before and
// after every test (services, record, install folders, staging folder, JAVA_HOME, port 8080).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/driver/BrowserRecorder.h"
#include "tests/e2e/driver/Files.h"
#include "tests/e2e/driver/MessageBoxes.h"
#include "tests/e2e/driver/SetupProcess.h"
#include "tests/e2e/driver/SystemRecord.h"
#include "tests/e2e/driver/Wizard.h"

namespace e2e {

// Texts of the wizard, as it shows them.
extern const char* const kWelcomeTitle;
extern const char* const kAgreementTitle;
extern const char* const kFolderTitle;
extern const char* const kCopyingSubtitle;
extern const char* const kFinalTitle;
extern const char* const kChoiceTitle;
extern const char* const kAccept;
extern const char* const kUninstallOption;
extern const char* const kRepairOption;
extern const char* const kFreshOption;
extern const char* const kSiteAddress;

// Install folders the tests use: the default one and one of our own.
extern const char* const kDefaultFolder;
extern const char* const kOwnFolder;

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts setup.exe from the test's folder (or from another folder that holds a copy).
  SetupProcess& Start();
  // A tempFolder becomes its TEMP and TMP.
  SetupProcess& StartFrom(const std::wstring& folder, const std::wstring& tempFolder = std::wstring());
  // Starts folder\program with arguments (an unattended run, the uninstaller).
  SetupProcess& StartWith(const std::wstring& folder, const std::wstring& program, const std::wstring& arguments,
                          const std::wstring& tempFolder = std::wstring());
  // The same with the driver's environment changed as given.
  SetupProcess& StartWith(const std::wstring& folder, const std::wstring& program, const std::wstring& arguments,
                          const EnvironmentChanges& environment);

  // Waits for a message box of the process and checks its text and buttons.
  MessageBoxView ExpectBox(const SetupProcess& process, const std::string& text,
                           const std::vector<std::string>& buttons);

  // From the welcome page to the install-folder page, accepting the agreement on the way.
  void WalkToFolderPage(const Wizard& wizard);
  // The same, with `folder` in the folder box.
  void WalkToFolderPage(const Wizard& wizard, const std::string& folder);
  // From the agreement page, accepted, to the folder page.
  void AcceptAgreement(const Wizard& wizard);
  // From the welcome page through the choice page's repair option to the folder page.
  void WalkToRepairFolderPage(const Wizard& wizard);
  // Next on the folder page, the run to "完成", the final page, and "退出" to the program's end.
  void FinishFromFolderPage(SetupProcess& setup, const Wizard& wizard);
  // A whole first installation into `folder`, from the welcome page to the end of the program.
  void InstallThroughWizard(const std::string& folder);
  void InstallThroughWizard(SetupProcess& setup, const std::string& folder);
  // Waits for the label, then for the wizard to have finished handling the step.
  void ExpectPage(const Wizard& wizard, const std::string& label, unsigned timeoutMs = kWindowWait);

  // Waits for the end of a run: true once Next reads `caption` and can be pressed, false
  // as soon as a message box interrupts the run or the limit passes.
  static bool WaitForRunEnd(const SetupProcess& process, const Wizard& wizard, const std::string& caption);

  // What the program shows now (labels and open message boxes), for failure messages.
  static std::string Situation(const SetupProcess& process, const Wizard& wizard);

  // Saves a picture of the wizard when $QUARN_SHOT_DIR asks for them.
  void Shot(const Wizard& wizard, const char* name);

  // The staging folder of the user the program runs as.
  static std::wstring StagingFolder();

  std::unique_ptr<WorkFolder> setupFolder;
  std::unique_ptr<BrowserRecorder> browser;
  std::unique_ptr<SavedSystemVariable> javaHome;

 private:
  void PutMachineInOrder();

  std::vector<std::unique_ptr<SetupProcess>> processes_;
};

// The product folders the demo package installs.
std::vector<std::string> ProductFolders();

// How a run names this test program as the holder of a port it listens on: by file name and
// process id where the system's TCP table tells who holds the port, as an unknown program
// where it does not (under Wine).
std::string ThisProgramHolding(unsigned short port);

}  // namespace e2e
