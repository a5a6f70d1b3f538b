// Start-up: the working folders, the splash, and the wizard window's archive check.
#include <gtest/gtest.h>

#include "app/LastGuard.h"
#include "app/StartUp.h"
#include "common/portable/ProcessValues.h"
#include "tests/win/support/WinTestSupport.h"
#include "tests/win/support/WizardFixture.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "setup/win/InstallEngine.h"
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

// TMP and TEMP of this process pointed at a folder for the test's time; the folder is made
// under the system's temporary folder and removed afterwards.
class TemporaryFolderNamed {
 public:
  explicit TemporaryFolderNamed(const std::wstring& name) : oldTmp_(Environment(L"TMP")), oldTemp_(Environment(L"TEMP")) {
    path_ = tk::ToWide(base_.Path()) + name + L"\\";
    created_ = CreateDirectoryW(path_.c_str(), nullptr);
    SetEnvironmentVariableW(L"TMP", path_.c_str());
    SetEnvironmentVariableW(L"TEMP", path_.c_str());
  }
  ~TemporaryFolderNamed() {
    SetEnvironmentVariableW(L"TMP", oldTmp_.empty() ? nullptr : oldTmp_.c_str());
    SetEnvironmentVariableW(L"TEMP", oldTemp_.empty() ? nullptr : oldTemp_.c_str());
  }
  bool Created() const { return created_; }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring oldTmp_, oldTemp_;
  TempFolder base_;
  std::wstring path_;
  bool created_ = false;
};

bool IsAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

std::wstring LongName(const std::string& gbkPath) {
  wchar_t name[32768];
  DWORD length = GetLongPathNameW(tk::ToWide(gbkPath).c_str(), name, 32768);
  return std::wstring(name, length);
}

}  // namespace

TEST_F(StartupTest, WorkingFoldersComeFromTheSystemAndTouchNothing) {
  ASSERT_EQ(app::SettleWorkingFolders(), L"");
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
  ASSERT_EQ(app::SettleWorkingFolders(), L"");
  EXPECT_EQ(pub::Process().StagingFolder, first);
}

TEST_F(StartupTest, UnreportableTemporaryFolderEndsWithAMessageAndTouchesNothing) {
  std::wstring oldTmp = Environment(L"TMP"), oldTemp = Environment(L"TEMP");
  std::wstring tooLong = L"C:\\" + std::wstring(300, L'x');
  SetEnvironmentVariableW(L"TMP", tooLong.c_str());
  SetEnvironmentVariableW(L"TEMP", tooLong.c_str());
  const std::string problem = tk::FromWide(app::SettleWorkingFolders());
  SetEnvironmentVariableW(L"TMP", oldTmp.empty() ? nullptr : oldTmp.c_str());
  SetEnvironmentVariableW(L"TEMP", oldTemp.empty() ? nullptr : oldTemp.c_str());

  EXPECT_NE(problem.find("临时文件夹"), std::string::npos) << "the reason, for a box or the log";
  EXPECT_TRUE(boxes.Boxes().empty()) << "the caller shows it";
  EXPECT_TRUE(pub::Process().StagingFolder.empty());
  EXPECT_TRUE(pub::Process().SetupFolder.empty());
}

TEST_F(StartupTest, ATemporaryFolderGbkHoldsIsUsedAsItIsWithoutItsShortName) {
  TemporaryFolderNamed temp(L"临时 文件夹");
  ASSERT_TRUE(temp.Created());
  int asked = 0;
  ASSERT_EQ(app::SettleWorkingFolders([&](const std::wstring& folder) {
    ++asked;
    return app::SystemShortName(folder);
  }), L"");
  EXPECT_EQ(pub::Process().StagingFolder, tk::FromWide(temp.Path()) + "quarne\\");
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(StartupTest, AHangulTemporaryFolderIsUsedByItsShortName) {
  TemporaryFolderNamed temp(L"사용자 임시");
  ASSERT_TRUE(temp.Created());
  ASSERT_EQ(app::SettleWorkingFolders(), L"");
  const std::string staging = pub::Process().StagingFolder;
  EXPECT_TRUE(IsAscii(staging)) << staging;
  ASSERT_GT(staging.size(), 7u);
  // The short name leads to the same folder; nothing is made in it yet.
  EXPECT_TRUE(LongName(staging.substr(0, staging.size() - 7)) == temp.Path());
  EXPECT_EQ(staging.substr(staging.size() - 7), "quarne\\");
  EXPECT_FALSE(tk::FolderExists(staging));
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(StartupTest, WithoutShortNamesTheMessageNamesTheFolderAndNothingIsSetOrWritten) {
  TemporaryFolderNamed temp(L"사용자 임시");
  ASSERT_TRUE(temp.Created());
  std::vector<std::wstring> asked;
  // A volume that keeps no 8.3 names gives the long name back.
  const std::wstring problem = app::SettleWorkingFolders([&](const std::wstring& folder) {
    asked.push_back(folder);
    return folder;
  });
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_TRUE(asked[0] == temp.Path());
  EXPECT_NE(problem.find(temp.Path()), std::wstring::npos) << "names the folder as the system shows it";
  EXPECT_NE(tk::FromWide(problem).find("短文件名"), std::string::npos) << "the reason";
  const std::string text = tk::FromWide(problem);  // the Hangul shows as '?' here only
  EXPECT_NE(text.find("TEMP"), std::string::npos) << "what to do";
  EXPECT_EQ(text.find("无法取得"), std::string::npos) << "the folder was found";
  EXPECT_TRUE(pub::Process().StagingFolder.empty());
  EXPECT_TRUE(pub::Process().SetupFolder.empty());
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((temp.Path() + L"*").c_str(), &found);
  int entries = 0;
  if (search != INVALID_HANDLE_VALUE) {
    do ++entries;
    while (FindNextFileW(search, &found));
    FindClose(search);
  }
  EXPECT_EQ(entries, 2) << "only . and ..";
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
  auto* form = application.CreateForm<ui::TfSetupMainForm>(app::SettledFolders());
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Error);
  EXPECT_EQ(boxes.Boxes()[0].text, std::string("系统安装包损坏，无法找到 Setup.pak文件，请检查，或进入") +
                                       setup::kDownloadSite + "从新下载");
  form->Show();
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(form->ProgramExitCode(), pub::ExitCode::PackageProblem);
}

TEST_F(StartupTest, PresentPackageIsFoundWithoutAMessage) {
  TempFolder folder;
  pub::Process().SetupFolder = folder.Path();
  HANDLE file = CreateFileW(tk::ToWide(folder.Path() + "Setup.pak").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_NEW, 0, nullptr);
  CloseHandle(file);
  auto* form = application.CreateForm<ui::TfSetupMainForm>(app::SettledFolders());
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

// What escaped every run still ends the documented way: a line in the run log, a box only when
// there is a window to show it on, and the failure code.
TEST_F(StartupTest, AnErrorThatEscapedEveryRunIsLoggedShownWhenWindowedAndEndsWithOne) {
  TempFolder folder;
  pub::Process().LogPath = tk::ToWide(folder.Path() + "run.log");
  EXPECT_EQ(app::EndAfterEscapedError("注册表值 'ver' 的数据类型不对", true), 1);
  EXPECT_EQ(app::EndAfterEscapedError("", false), 1);
  ASSERT_EQ(boxes.Boxes().size(), 1u) << "no box without a window";
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Error);
  EXPECT_EQ(boxes.Boxes()[0].text, "安装程序因没有处理的错误而结束：注册表值 'ver' 的数据类型不对");
  tk::TFileStream file(folder.Path() + "run.log", tk::FileMode::OpenRead);
  std::string text(static_cast<size_t>(file.Size()), '\0');
  file.ReadBuffer(text.data(), static_cast<int32_t>(text.size()));
  for (const char* line : {"安装程序因没有处理的错误而结束：注册表值 'ver' 的数据类型不对", "安装程序因没有处理的错误而结束：未知错误"})
    EXPECT_NE(text.find(tk::WideToUtf8(tk::ToWide(line))), std::string::npos) << line << "\n" << text;
  EXPECT_NE(text.find(tk::WideToUtf8(tk::ToWide("退出码 1"))), std::string::npos) << text;
}
