// Leaving the wizard with Exit, and a second copy of the program started while one runs.
#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/WindowQuery.h"

namespace e2e {
namespace {

class WizardWindow : public EndToEnd {};

}  // namespace

TEST_F(WizardWindow, ExitAsksFirstNoKeepsTheWindowYesCloses) {
  SetupProcess& setup = Start();
  Wizard wizard(setup.Id());
  ASSERT_TRUE(wizard.Found());
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kWelcomeTitle));
  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kAgreementTitle));

  wizard.Exit();
  MessageBoxView no = ExpectBox(setup, "安装程序未完成,您确认要退出?", {"是", "否"});
  EXPECT_TRUE(no.hasIcon) << "a warning shows its icon";
  ASSERT_TRUE(Answer(no, "否"));
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kAgreementTitle));
  EXPECT_TRUE(wizard.Shown());
  EXPECT_TRUE(setup.Running());

  wizard.Exit();
  ASSERT_TRUE(Answer(ExpectBox(setup, "安装程序未完成,您确认要退出?", {"是", "否"}), "是"));
  ASSERT_TRUE(setup.WaitForExit()) << "Yes did not close the window";
  EXPECT_EQ(setup.ExitCode(), 1602u) << "left before any change: cancelled by the user";
  EXPECT_FALSE(InstallRecordExists());
  EXPECT_TRUE(browser->Opened().empty());
}

TEST_F(WizardWindow, ASecondCopyTellsTheUserAndEndsWhileTheFirstRunsOn) {
  SetupProcess& first = Start();
  Wizard wizard(first.Id());
  ASSERT_TRUE(wizard.Found());
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kWelcomeTitle));
  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kAgreementTitle));

  // Another copy of the program, in a folder of its own.
  WorkFolder elsewhere(L"quarn-e2e-second");
  std::string problem;
  ASSERT_TRUE(PlaceSetup(elsewhere.Path(), &problem)) << problem;
  SetupProcess& second = StartFrom(elsewhere.Path());
  MessageBoxView box = ExpectBox(second, "Quarn软件安装系统已经在运行，请不要同时运行两个安装程序。", {"确定"});
  EXPECT_FALSE(box.hasIcon) << "a plain box has no icon";
  EXPECT_EQ(FindWizard(second.Id()), nullptr) << "the second copy opened a wizard";
  ASSERT_TRUE(Answer(box, "确定"));
  ASSERT_TRUE(second.WaitForExit());
  EXPECT_EQ(second.ExitCode(), 3u) << "it did nothing: another copy runs";

  // The first copy runs on where it was, in front.
  EXPECT_TRUE(first.Running());
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kAgreementTitle));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == wizard.Window(); }))
      << "the running copy was not brought to the front";
  EXPECT_TRUE(OpenMessageBoxes(first.Id()).empty());
  wizard.Exit();
  ASSERT_TRUE(Answer(ExpectBox(first, "安装程序未完成,您确认要退出?", {"是", "否"}), "是"));
  EXPECT_TRUE(first.WaitForExit());
}

}  // namespace e2e
