// The variable that tells the uninstaller's copy what to remove after its removal, set by
// someone else around an ordinary start, or pointing at something that is not a removed
// installation's uninstaller: nothing is deleted, and the log says it was ignored.
#include <windows.h>

#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/SystemRecord.h"
#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

constexpr const char* kToken = "0123456789abcdef0123456789abcdef";
// Process ids are multiples of four: these never run, so a copy has nothing to wait for.
constexpr const wchar_t* kNoProcess = L"99999";
constexpr const wchar_t* kNoOtherProcess = L"99995";

std::string LogUtf8Of(const char* gbk) { return tk::WideToUtf8(tk::ToWide(gbk)); }

// A version key naming folder, in the view the 32-bit program reads.
void RecordFolder(const std::wstring& folder) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\quarn\\version", 0, nullptr, 0,
                            KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"installpath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

class UninstallerTask : public EndToEnd {
 protected:
  // Starts folder\program with the task variable; its TEMP is the test's, where the log goes.
  DWORD RunWithTask(const std::wstring& folder, const std::wstring& program, const std::wstring& task) {
    SetupProcess& process = StartWith(folder, program, L"/S /X",
                                      {{L"QUARN_REMOVE_UNINSTALLER", task}, {L"TEMP", temp()}, {L"TMP", temp()}});
    EXPECT_TRUE(process.WaitForExit()) << "did not end";
    return process.ExitCode();
  }
  std::wstring temp() const { return setupFolder->Path() + L"temp"; }
};

TEST_F(UninstallerTask, NamesThatTheUninstallerDidNotScheduleDeleteNothing) {
  const std::wstring root = setupFolder->Path();
  const std::wstring victim = root + L"victim";
  ASSERT_TRUE(CreateDirectoryW(temp().c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(victim.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((victim + L"\\install").c_str(), nullptr));
  const std::wstring uninstaller = victim + L"\\install\\Uninstall.exe";
  const std::wstring document = root + L"document.txt";
  ASSERT_TRUE(WriteBytes(uninstaller, "not ours to delete"));
  ASSERT_TRUE(WriteBytes(document, "the user's"));
  const std::wstring token = tk::ToWide(kToken);

  // Ordinary starts of setup.exe: the variable is ignored and the start goes on as it would
  // without it (here to its refusal of the unknown option).
  EXPECT_EQ(RunWithTask(root, L"setup.exe", L"4|" + uninstaller), 2u) << "the form without a token";
  EXPECT_EQ(RunWithTask(root, L"setup.exe", std::wstring(kNoProcess) + L"|" + token + L"|" + uninstaller), 2u)
      << "a token that does not name this program";

  // A start that is the copy the task names: it still removes only an install folder's
  // uninstaller that no record names. Each copy runs once: once ended, it has the command
  // processor delete it, as it does after a real removal.
  SavedRestartDeletes restartDeletes;
  const auto runCopy = [&](const wchar_t* waitFor, const std::wstring& target) {
    const std::wstring copyFolder = root + L"quarn-uninstall-" + waitFor + L"\\";
    EXPECT_TRUE(CreateDirectoryW(copyFolder.c_str(), nullptr));
    EXPECT_TRUE(CopyFileW((root + L"setup.exe").c_str(), (copyFolder + token + L".exe").c_str(), FALSE));
    return RunWithTask(copyFolder, token + L".exe", std::wstring(waitFor) + L"|" + token + L"|" + target);
  };
  EXPECT_EQ(runCopy(kNoProcess, document), 0u) << "a file of the user's";
  RecordFolder(victim);
  EXPECT_EQ(runCopy(kNoOtherProcess, uninstaller), 0u) << "a folder the record names";

  EXPECT_TRUE(FileExists(uninstaller));
  EXPECT_TRUE(FileExists(document));
  const std::string log = FileBytes(temp() + L"\\quarn-setup.log");
  size_t ignored = 0, kept = 0;
  for (size_t at = 0; (at = log.find(LogUtf8Of("已忽略"), at)) != std::string::npos; ++at) ++ignored;
  for (size_t at = 0; (at = log.find(LogUtf8Of("没有删除"), at)) != std::string::npos; ++at) ++kept;
  EXPECT_EQ(ignored, 2u) << log;
  EXPECT_EQ(kept, 2u) << log;
}

}  // namespace
}  // namespace e2e
