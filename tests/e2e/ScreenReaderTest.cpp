// The wizard as a screen reader in another process reads it: the drawn controls' objects come
// across processes through oleacc, and the gauge's value-change events reach a listener.
#include <oleacc.h>

#include <vector>

#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/AccessibleReading.h"
#include "tests/e2e/driver/Wait.h"
#include "tests/e2e/driver/WindowQuery.h"

namespace e2e {
namespace {

HWND FirstShown(HWND parent, const wchar_t* className) {
  for (HWND window : Descendants(parent, className))
    if (IsShown(window)) return window;
  return nullptr;
}

// The values the gauge announced, read back as each announcement arrives.
std::vector<std::wstring>* announced = nullptr;

void CALLBACK OnValueChange(HWINEVENTHOOK, DWORD, HWND hwnd, LONG objectId, LONG childId, DWORD, DWORD) {
  if (!announced || ClassOf(hwnd) != L"QuarnGauge") return;
  announced->push_back(e2e::ReadEventValue(hwnd, objectId, childId));
}

void PumpOwnMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

class ScreenReader : public EndToEnd {
 protected:
  void SetUp() override {
    EndToEnd::SetUp();
    comInitialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  }
  void TearDown() override {
    if (comInitialized_) CoUninitialize();
    EndToEnd::TearDown();
  }

 private:
  bool comInitialized_ = false;
};

}  // namespace

TEST_F(ScreenReader, ReadsEveryPageAndHearsTheGaugeFollowTheRun) {
  SetupProcess& setup = Start();
  Wizard wizard(setup.Id());
  ASSERT_TRUE(wizard.Found());
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kWelcomeTitle));
  AccessibleRead welcome = ReadAccessibleWindow(FirstShown(wizard.Window(), L"QuarnMemo"));
  ASSERT_EQ(welcome.found, S_OK);
  EXPECT_EQ(welcome.role, ROLE_SYSTEM_TEXT);
  EXPECT_EQ(welcome.name, L"欢迎");
  EXPECT_GT(welcome.value.size(), 20u);
  AccessibleRead picture = ReadAccessibleWindow(FirstShown(wizard.Window(), L"QuarnImage"));
  EXPECT_EQ(picture.role, ROLE_SYSTEM_GRAPHIC);
  EXPECT_EQ(picture.name, L"Quarn 安装向导");

  ASSERT_NO_FATAL_FAILURE(WalkToFolderPage(wizard, kOwnFolder));
  AccessibleRead folder = ReadAccessibleWindow(wizard.FolderBox());
  EXPECT_EQ(folder.name, L"Quarn软件安装目录选择：");

  std::vector<std::wstring> values;
  announced = &values;
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, OnValueChange,
                                       setup.Id(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  wizard.Next();
  bool ended = WaitUntil(
      [&] {
        PumpOwnMessages();
        return wizard.NextCaption() == "完成" && IsEnabled(wizard.NextButton());
      },
      kRunWait);
  PumpOwnMessages();
  UnhookWinEvent(hook);
  announced = nullptr;
  ASSERT_TRUE(ended) << Situation(setup, wizard);
  HWND gaugeWindow = FirstShown(wizard.Window(), L"QuarnGauge");
  AccessibleRead gauge = ReadAccessibleWindow(gaugeWindow);
  EXPECT_EQ(gauge.role, ROLE_SYSTEM_PROGRESSBAR);
  EXPECT_EQ(gauge.name, L"安装进度");
  EXPECT_EQ(gauge.value, L"100%");
  ASSERT_FALSE(values.empty()) << "no value change was heard";
  EXPECT_LE(values.size(), 2 * 101u) << "more announcements than percentages";
  EXPECT_EQ(values.back(), L"100%");
  AccessibleRead copied = ReadAccessibleWindow(FirstShown(wizard.Window(), L"QuarnMemo"));
  EXPECT_EQ(copied.name, L"已拷贝的文件");
  EXPECT_NE(copied.value.find(L"\r\n"), std::wstring::npos) << "the copied files, one a line";

  // An object held past the program's end answers an error, and releasing it is safe.
  IAccessible* held = nullptr;
  ASSERT_EQ(AccessibleOfWindow(gaugeWindow, &held), S_OK);
  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kFinalTitle));
  ASSERT_TRUE(wizard.WaitForNext("退出"));
  wizard.Next();
  ASSERT_TRUE(setup.WaitForExit());
  BSTR text = nullptr;
  EXPECT_TRUE(FAILED(held->get_accValue(SelfChild(), &text)));
  EXPECT_EQ(text, nullptr);
  held->Release();
}

}  // namespace e2e
