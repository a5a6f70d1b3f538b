// A wizard window in a test: its setup and staging folders in a folder of the test's own, a
// Setup.pak beside it or not, an installation record or not, message boxes and the shell's
// "open this address" recorded. The machine-wide record is cleaned before and after.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win/support/RecordSupport.h"
#include "tests/win/support/WinTestSupport.h"
#include "ui/SetupMainForm.h"

namespace testing_support {

class WizardFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Creates the wizard window; a Setup.pak (the given bytes) is placed beside it first when
  // withPackage is set.
  ui::TfSetupMainForm* CreateWizard(bool withPackage, const std::string& packageBytes = std::string());
  // Presses a button as a click does, through the window procedure, so errors reach the
  // default handler.
  void Press(tk::Control* button);
  std::string VisiblePages() const;

  tk::Application application;
  BoxRecorder boxes;
  TempFolder folder;  // setup folder; the staging folder is inside it
  setup::RunFolders folders;  // what the window is given: the folders in it, the default log
  std::vector<std::string> opened;  // addresses given to the shell
  std::wstring openedIn;             // the folder the last one was to be opened in
  std::string shellFailure;          // what the shell answers; "" for success
  ui::TfSetupMainForm* form = nullptr;
};

}  // namespace testing_support
