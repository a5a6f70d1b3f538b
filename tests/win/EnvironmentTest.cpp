// SetEnvVariable and RemoveEnvVariable: where they write (read back from the registry
// directly), what a command started afterwards sees, when they broadcast, and that a hung
// window cannot hold them up for good.
#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "common/win/Environment.h"
#include "common/win/ExternalCommands.h"
#include "common/win/SystemFolders.h"
#include "toolkit/core/CodePage.h"

using pub::RemoveEnvVariable;
using pub::SetEnvVariable;

namespace {

const wchar_t kUserKey[] = L"Environment";
const wchar_t kSystemKey[] = L"System\\CurrentControlSet\\Control\\Session Manager\\Environment";
const wchar_t kName[] = L"QUARN_TEST_HOME";

struct Stored {
  bool exists = false;
  DWORD type = 0;
  std::wstring text;
};

Stored Read(HKEY root, const wchar_t* key) {
  Stored stored;
  wchar_t buffer[512] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  HKEY opened;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return stored;
  if (RegQueryValueExW(opened, kName, nullptr, &stored.type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS) {
    stored.exists = true;
    stored.text = buffer;
  }
  RegCloseKey(opened);
  return stored;
}

void Put(HKEY root, const wchar_t* key, const wchar_t* value) {
  HKEY opened;
  ASSERT_EQ(RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr), ERROR_SUCCESS);
  RegSetValueExW(opened, kName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), (wcslen(value) + 1) * sizeof(wchar_t));
  RegCloseKey(opened);
}

std::wstring ProcessValue() {
  wchar_t buffer[512];
  DWORD length = GetEnvironmentVariableW(kName, buffer, 512);
  return length ? std::wstring(buffer, length) : std::wstring();
}

// A top-level window of this thread that counts the environment broadcasts it is sent.
class BroadcastCounter {
 public:
  BroadcastCounter() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuarnBroadcastCounter";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    count_ = 0;
  }
  ~BroadcastCounter() { DestroyWindow(window_); }
  int Count() const { return count_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE && lParam && wcscmp(reinterpret_cast<const wchar_t*>(lParam), L"Environment") == 0)
      ++count_;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  HWND window_;
  static int count_;
};
int BroadcastCounter::count_ = 0;

class Environment : public testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserKey, kName);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSystemKey, kName);
    SetEnvironmentVariableW(kName, nullptr);
  }
};

}  // namespace

TEST_F(Environment, ANewSystemVariableIsAPlainStringSeenByLaterCommandsAndBroadcast) {
  BroadcastCounter broadcasts;
  EXPECT_TRUE(SetEnvVariable("QUARN_TEST_HOME", "c:\\quarn\\java", false, false));
  Stored system = Read(HKEY_LOCAL_MACHINE, kSystemKey);
  EXPECT_TRUE(system.exists);
  EXPECT_EQ(system.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(system.text, L"c:\\quarn\\java");
  EXPECT_FALSE(Read(HKEY_CURRENT_USER, kUserKey).exists);
  EXPECT_EQ(broadcasts.Count(), 1);
  const std::string systemFolder = pub::SystemDirectory();
  EXPECT_EQ(pub::RunCommand(pub::ProgramCommand(systemFolder + "\\cmd.exe",
                                                "/c if \"%QUARN_TEST_HOME%\"==\"c:\\quarn\\java\" (exit 5) else (exit 6)",
                                                systemFolder, 30),
                            SW_SHOW)
                .exitCode,
            5u);
}

TEST_F(Environment, ThePerUserScopeWritesUnderTheUsersEnvironmentKey) {
  EXPECT_TRUE(SetEnvVariable("QUARN_TEST_HOME", "用户", false, true));
  Stored user = Read(HKEY_CURRENT_USER, kUserKey);
  EXPECT_TRUE(user.exists);
  EXPECT_EQ(user.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(user.text, L"\u7528\u6237");
  EXPECT_FALSE(Read(HKEY_LOCAL_MACHINE, kSystemKey).exists);
  EXPECT_EQ(ProcessValue(), L"\u7528\u6237");
}

TEST_F(Environment, WithForceOffAnExistingValueStaysAndNothingIsSent) {
  Put(HKEY_LOCAL_MACHINE, kSystemKey, L"before");
  BroadcastCounter broadcasts;
  EXPECT_FALSE(SetEnvVariable("QUARN_TEST_HOME", "after", false, false));
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kSystemKey).text, L"before");
  EXPECT_EQ(ProcessValue(), L"");
  EXPECT_EQ(broadcasts.Count(), 0);

  EXPECT_TRUE(SetEnvVariable("QUARN_TEST_HOME", "after", true, false));
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kSystemKey).text, L"after");
  EXPECT_EQ(ProcessValue(), L"after");
  EXPECT_EQ(broadcasts.Count(), 1);
}

TEST_F(Environment, RemovingDeletesTheValueBroadcastsAlwaysAndLeavesTheProcessAlone) {
  BroadcastCounter broadcasts;
  EXPECT_TRUE(RemoveEnvVariable("QUARN_TEST_HOME", false));
  EXPECT_EQ(broadcasts.Count(), 1);

  ASSERT_TRUE(SetEnvVariable("QUARN_TEST_HOME", "x", false, false));
  Put(HKEY_CURRENT_USER, kUserKey, L"user");
  EXPECT_TRUE(RemoveEnvVariable("QUARN_TEST_HOME", false));
  EXPECT_FALSE(Read(HKEY_LOCAL_MACHINE, kSystemKey).exists);
  EXPECT_TRUE(Read(HKEY_CURRENT_USER, kUserKey).exists);  // the other scope is not touched
  EXPECT_EQ(ProcessValue(), L"x");
  EXPECT_EQ(broadcasts.Count(), 3);

  EXPECT_TRUE(RemoveEnvVariable("QUARN_TEST_HOME", true));
  EXPECT_FALSE(Read(HKEY_CURRENT_USER, kUserKey).exists);
}

// A window whose thread stops handling messages would block a plain SendMessage forever.
TEST_F(Environment, AHungWindowDoesNotHoldTheBroadcastUpForGood) {
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread hung([&] {
    HWND window = CreateWindowExW(0, L"STATIC", L"hung", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetEvent(created);
    WaitForSingleObject(release, INFINITE);  // handles no messages meanwhile
    DestroyWindow(window);
  });
  WaitForSingleObject(created, INFINITE);
  EXPECT_TRUE(SetEnvVariable("QUARN_TEST_HOME", "x", false, true));
  SetEvent(release);
  hung.join();
  CloseHandle(release);
  CloseHandle(created);
}
