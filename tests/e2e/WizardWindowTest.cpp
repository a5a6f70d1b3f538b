// Leaving the wizard with Exit, a second copy of the program started while one runs, and the
// window's display scale.
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

// setup.exe declares itself per-monitor DPI aware in its manifest: the system draws its window
// at the monitor's DPI instead of stretching a 96-DPI bitmap, and the window is made for it.
TEST_F(WizardWindow, IsPerMonitorDpiAwareAndMadeForItsMonitorsDpi) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  using AwarenessOfWindow = HANDLE(WINAPI*)(HWND);
  using AwarenessOfContext = int(WINAPI*)(HANDLE);
  auto awarenessOfWindow = reinterpret_cast<AwarenessOfWindow>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
  auto awarenessOfContext = reinterpret_cast<AwarenessOfContext>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  using ThreadAwareness = HANDLE(WINAPI*)(HANDLE);
  auto setThreadAwareness = reinterpret_cast<ThreadAwareness>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
  if (!awarenessOfWindow || !awarenessOfContext || !setThreadAwareness)
    GTEST_SKIP() << "a system without per-monitor DPI";
  // This thread reads the window's sizes as they are on the screen, not as a 96-DPI program
  // would be told them.
  HANDLE before = setThreadAwareness(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));  // per monitor v2
  if (!before) before = setThreadAwareness(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3)));
  struct Restore {
    ThreadAwareness set;
    HANDLE context;
    ~Restore() {
      if (context) set(context);
    }
  } restore{setThreadAwareness, before};

  SetupProcess& setup = Start();
  Wizard wizard(setup.Id());
  ASSERT_TRUE(wizard.Found());
  const int kPerMonitorAware = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE
  EXPECT_EQ(awarenessOfContext(awarenessOfWindow(wizard.Window())), kPerMonitorAware);
  // The screen's DPI (one monitor here), as an aware thread is told it.
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT client;
  GetClientRect(wizard.Window(), &client);
  EXPECT_EQ(client.right, MulDiv(496, dpi, 96)) << dpi << " DPI";
  EXPECT_EQ(client.bottom, MulDiv(331, dpi, 96)) << dpi << " DPI";

  wizard.Exit();
  ASSERT_TRUE(Answer(ExpectBox(setup, "安装程序未完成,您确认要退出?", {"是", "否"}), "是"));
  EXPECT_TRUE(setup.WaitForExit());
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
