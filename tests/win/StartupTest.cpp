// Start-up: the working folders, the splash, and the wizard window's archive check.
#include <gtest/gtest.h>

#include "app/StartUp.h"
#include "common/portable/ProcessValues.h"
#include "tests/win/support/WinTestSupport.h"
#include "tests/win/support/WizardFixture.h"
#include "toolkit/core/CodePage.h"
#include "ui/SetupMainForm.h"
#include "ui/StartupPicForm.h"

using namespace testing_support;

namespace {

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CleanInstallRecord();
    application.Initialize();
    pub::Process() = pub::ProcessValues();
  }
  tk::Application application;
  BoxRecorder boxes;
};

std::wstring Environment(const wchar_t* name) {
  wchar_t value[32768];
  DWORD n = GetEnvironmentVariableW(name, value, 32768);
  return n ? std::wstring(value, n) : std::wstring();
}

}  // namespace

TEST_F(StartupTest, WorkingFoldersComeFromTheSystemAndTouchNothing) {
  ASSERT_TRUE(app::FixWorkingFolders());
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  EXPECT_EQ(pub::Process().StagingFolder, tk::FromWide(temp) + "quarne\\");

  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::string expected = tk::FromWide(exe);
  expected.erase(expected.rfind('\\') + 1);
  EXPECT_EQ(pub::Process().SetupFolder, expected);
  EXPECT_TRUE(boxes.Boxes().empty());
  // A second copy of the program would use the same staging folder.
  std::string first = pub::Process().StagingFolder;
  ASSERT_TRUE(app::FixWorkingFolders());
  EXPECT_EQ(pub::Process().StagingFolder, first);
}

TEST_F(StartupTest, UnreportableTemporaryFolderEndsWithAMessageAndTouchesNothing) {
  std::wstring oldTmp = Environment(L"TMP"), oldTemp = Environment(L"TEMP");
  std::wstring tooLong = L"C:\\" + std::wstring(300, L'x');
  SetEnvironmentVariableW(L"TMP", tooLong.c_str());
  SetEnvironmentVariableW(L"TEMP", tooLong.c_str());
  bool fixed = app::FixWorkingFolders();
  SetEnvironmentVariableW(L"TMP", oldTmp.empty() ? nullptr : oldTmp.c_str());
  SetEnvironmentVariableW(L"TEMP", oldTemp.empty() ? nullptr : oldTemp.c_str());

  EXPECT_FALSE(fixed);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Error);
  EXPECT_NE(boxes.Boxes()[0].text.find("临时文件夹"), std::string::npos);
  EXPECT_TRUE(pub::Process().StagingFolder.empty());
  EXPECT_TRUE(pub::Process().SetupFolder.empty());
}

TEST(Splash, IsABorderlessCentredPictureReleasedByTheMessageLoop) {
  tk::Application application;
  application.Initialize();
  auto* splash = new ui::TFStartupPicForm(&application);
  HWND window = splash->Handle();
  RECT client, outer;
  GetClientRect(window, &client);
  GetWindowRect(window, &outer);
  EXPECT_EQ(client.right, 478);
  EXPECT_EQ(client.bottom, 299);
  EXPECT_EQ(outer.right - outer.left, 478);  // no border, no title bar
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 478) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 299) / 2);
  EXPECT_TRUE(splash->Image1->HasPicture());
  EXPECT_EQ(splash->Image1->PictureSize().cx, 478);

  splash->Show();
  UpdateWindow(window);
  Capture shown = CaptureClient(window);
  ASSERT_GT(shown.width, 5) << "nothing captured";
  // The picture is painted at once: a dark blue ground, not the grey of an empty window.
  unsigned corner = shown.At(5, 5);
  EXPECT_GT(corner & 0xFF, ((corner >> 16) & 0xFF) + 40u) << std::hex << corner;
  if (!ShotFolder().empty()) shown.SaveBmp(ShotFolder() + "/00-splash.bmp");

  splash->Release();
  EXPECT_TRUE(IsWindow(window));  // deferred until messages are handled
  PumpMessages();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(application.ComponentCount(), 0);
}

TEST_F(StartupTest, MissingPackageIsReportedAndTheWindowClosesWhenShown) {
  TempFolder folder;
  pub::Process().SetupFolder = folder.Path();
  auto* form = application.CreateForm<ui::TfSetupMainForm>();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Error);
  EXPECT_EQ(boxes.Boxes()[0].text, std::string("系统安装包损坏，无法找到 Setup.pak文件，请检查，或进入") +
                                       ui::kDownloadSite + "从新下载");
  EXPECT_FALSE(pub::Process().ArchiveFound);
  form->Show();
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(application.Terminated());
}

TEST_F(StartupTest, PresentPackageIsFoundWithoutAMessage) {
  TempFolder folder;
  pub::Process().SetupFolder = folder.Path();
  HANDLE file = CreateFileW(tk::ToWide(folder.Path() + "Setup.pak").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_NEW, 0, nullptr);
  CloseHandle(file);
  auto* form = application.CreateForm<ui::TfSetupMainForm>();
  EXPECT_TRUE(pub::Process().ArchiveFound);
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(form->Caption(), "Quarn软件安装系统(V2.0) ");
  RECT outer;
  GetWindowRect(form->Handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, 504);
  EXPECT_EQ(outer.bottom - outer.top, 358);
  LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
}
