// The MSI as Group Policy and ConfigMgr use it, under the system's own msiexec: an install with
// INSTALLDIR, a removal, a newer MSI over an older one, a failed install, and the single entry
// in the list of programs whichever way the removal starts. The MSIs come from
// scripts/with-test-msis (QUARN_TEST_MSI_DIR): 2.0.0, and 2.1.0 with the same bundle.
#include <windows.h>
#include <msi.h>

#include <algorithm>
#include <cstdlib>

#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/Http.h"
#include "tests/e2e/driver/Services.h"
#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

// scripts/make-msi's UpgradeCode: every version of the MSI carries it.
constexpr const wchar_t* kUpgradeCode = L"{B5F0C0E2-6D3A-4B7C-9E41-2F8A7D1C3E90}";
constexpr const wchar_t* kMsiMarkerKey = L"Software\\quarn-msi";
constexpr const wchar_t* kUninstallList = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::wstring SystemFolder() {
  wchar_t path[MAX_PATH] = {};
  GetSystemDirectoryW(path, MAX_PATH);
  return std::wstring(path) + L"\\";
}

// The ProductCode the MSI left for our uninstaller; "" when none.
std::wstring MarkedProduct() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMsiMarkerKey, 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return L"";
  wchar_t code[64] = {};
  DWORD size = sizeof code - sizeof code[0];
  const bool read = RegGetValueW(key, nullptr, L"ProductCode", RRF_RT_REG_SZ, nullptr, code, &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return read ? code : L"";
}

bool Installed(const std::wstring& product) { return MsiQueryProductStateW(product.c_str()) == INSTALLSTATE_DEFAULT; }

// The products Windows Installer has registered for our UpgradeCode, and the one our marker
// names: Wine's msi drops the UpgradeCode's whole list when a newer version removes an older
// one, so after an upgrade only the marker still leads to the newer product.
std::vector<std::wstring> RegisteredProducts() {
  std::vector<std::wstring> codes;
  wchar_t code[39];
  for (DWORD i = 0; MsiEnumRelatedProductsW(kUpgradeCode, 0, i, code) == ERROR_SUCCESS; ++i) codes.push_back(code);
  const std::wstring marked = MarkedProduct();
  if (!marked.empty() && Installed(marked) && std::find(codes.begin(), codes.end(), marked) == codes.end())
    codes.push_back(marked);
  return codes;
}

// Entries of the list of programs that a person sees (no SystemComponent) and that name Quarn.
int VisibleQuarnEntries() {
  HKEY list;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallList, 0, KEY_READ | KEY_WOW64_32KEY, &list) != ERROR_SUCCESS) return 0;
  int count = 0;
  wchar_t name[256];
  for (DWORD i = 0, size = 256; RegEnumKeyExW(list, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++i, size = 256) {
    wchar_t display[512] = {};
    DWORD displaySize = sizeof display, hidden = 0, hiddenSize = sizeof hidden;
    if (RegGetValueW(list, name, L"DisplayName", RRF_RT_REG_SZ, nullptr, display, &displaySize) != ERROR_SUCCESS)
      continue;
    const bool systemComponent = RegGetValueW(list, name, L"SystemComponent", RRF_RT_REG_DWORD, nullptr, &hidden,
                                              &hiddenSize) == ERROR_SUCCESS && hidden == 1;
    if (!systemComponent && wcsstr(display, L"Quarn")) ++count;
  }
  RegCloseKey(list);
  return count;
}

// Wine's msi reports a failed custom action as 1627 (function failed) where Windows Installer
// says 1603; both are a failed installation.
bool FailedInstallCode(DWORD code) {
  const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return code == ERROR_INSTALL_FAILURE || (wine && code == ERROR_FUNCTION_FAILED);
}

bool MsiMarkerExists() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMsiMarkerKey, 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

class MsiDeployment : public EndToEnd {
 protected:
  void SetUp() override {
    const char* folder = std::getenv("QUARN_TEST_MSI_DIR");
    if (!folder) GTEST_SKIP() << "no MSIs: run through scripts/with-test-msis";
    msiFolder = tk::ToWide(folder) + L"\\";
    ASSERT_NO_FATAL_FAILURE(UnregisterOurMsis());
    ASSERT_NO_FATAL_FAILURE(EndToEnd::SetUp());
    msiLog = setupFolder->Path() + L"msi.log";
  }
  void TearDown() override {
    if (msiFolder.empty()) return;
    UnregisterOurMsis();
    EndToEnd::TearDown();
  }

  // What a test left registered goes, as an administrator would remove it.
  void UnregisterOurMsis() {
    for (const std::wstring& code : RegisteredProducts()) EXPECT_EQ(Msiexec(L"/x " + code + L" /qn"), 0u);
  }

  DWORD Run(const std::wstring& folder, const std::wstring& program, const std::wstring& arguments) {
    SetupProcess& process = StartWith(folder, program, arguments);
    EXPECT_TRUE(process.Started()) << tk::WideToUtf8(program);
    EXPECT_TRUE(process.WaitForExit(kRunWait)) << tk::WideToUtf8(program) << " did not end";
    return process.ExitCode();
  }
  DWORD Msiexec(const std::wstring& arguments) { return Run(SystemFolder(), L"msiexec.exe", arguments); }
  // msiexec with the MSI of a version, logging verbosely into msiLog.
  DWORD MsiexecWith(const wchar_t* option, const wchar_t* version, const std::wstring& more = L"") {
    return Msiexec(std::wstring(option) + L" \"" + msiFolder + L"quarn-" + version + L".msi\" /qn /l*v \"" + msiLog +
                   L"\"" + more);
  }
  std::string MsiLog() const { return FileBytes(msiLog); }

  std::wstring InFolder(const char* relative) const { return tk::ToWide(std::string(kOwnFolder) + "\\" + relative); }

  void ExpectInstalledByMsi(const char* version) {
    EXPECT_EQ(RecordedString(L"installpath"), kOwnFolder);
    EXPECT_EQ(RecordedString(L"ver"), version);
    EXPECT_TRUE(WaitForRunning(L"mysqlquarn", kWindowWait));
    EXPECT_TRUE(WaitForRunning(L"tomcatquarn", kWindowWait));
    EXPECT_EQ(HttpGet("/", 8080).status, 200);
    EXPECT_EQ(RegisteredProducts().size(), 1u);
    EXPECT_EQ(VisibleQuarnEntries(), 1) << "one entry in the list of programs, ours";
  }
  void ExpectNothingLeft() {
    EXPECT_TRUE(WaitUntil([&] { return !FolderExists(tk::ToWide(kOwnFolder)); })) << "the install folder stays";
    EXPECT_FALSE(QueryService(L"mysqlquarn").exists);
    EXPECT_FALSE(QueryService(L"tomcatquarn").exists);
    EXPECT_FALSE(InstallRecordExists());
    EXPECT_FALSE(UninstallEntryExists());
    EXPECT_TRUE(RegisteredProducts().empty()) << "the MSI stays registered";
    EXPECT_FALSE(MsiMarkerExists());
    EXPECT_EQ(VisibleQuarnEntries(), 0);
  }

  std::wstring msiFolder;
  std::wstring msiLog;
};

}  // namespace

TEST_F(MsiDeployment, MsiexecInstallsIntoInstallDirAndRemovesEverything) {
  ASSERT_EQ(MsiexecWith(L"/i", L"2.0.0", L" INSTALLDIR=" + tk::ToWide(kOwnFolder)), 0u) << MsiLog();
  ExpectInstalledByMsi("2.0.0");
  EXPECT_TRUE(MsiMarkerExists());

  EXPECT_EQ(MsiexecWith(L"/x", L"2.0.0"), 0u) << MsiLog();
  ExpectNothingLeft();
}

// The older MSI goes without running the uninstaller; the newer one's setup.exe upgrades the
// recorded installation in its folder, keeping the database's data.
TEST_F(MsiDeployment, ANewerMsiUpgradesInPlaceKeepingTheDatabase) {
  ASSERT_EQ(MsiexecWith(L"/i", L"2.0.0", L" INSTALLDIR=" + tk::ToWide(kOwnFolder)), 0u) << MsiLog();
  const std::wstring databaseTools = InFolder("MySQL5\\bin\\");
  ASSERT_EQ(Run(databaseTools, L"mysqld-nt.exe", L"--write mysqlquarn"), 0u);
  const std::string data = FileBytes(InFolder("MySQL5\\data\\ibdata1"));
  ASSERT_NE(data.find("row 1"), std::string::npos) << "the database wrote its row";

  const std::vector<std::wstring> older = RegisteredProducts();
  ASSERT_EQ(older.size(), 1u);

  ASSERT_EQ(MsiexecWith(L"/i", L"2.1.0"), 0u) << MsiLog();
  ExpectInstalledByMsi("2.1.0");
  EXPECT_EQ(FileBytes(InFolder("MySQL5\\data\\ibdata1")), data) << "the database's data survive the upgrade";
  EXPECT_FALSE(Installed(older[0])) << "the older MSI stays registered";
  EXPECT_NE(MarkedProduct(), older[0]);

  EXPECT_EQ(MsiexecWith(L"/x", L"2.1.0"), 0u) << MsiLog();
  ExpectNothingLeft();
}

// An older MSI over a newer installation is refused before anything runs, and changes nothing.
// (Only where the newer version was installed first: after a newer MSI has removed an older one,
// Wine's msi no longer lists the UpgradeCode's products, so it cannot tell a downgrade there.)
TEST_F(MsiDeployment, AnOlderMsiOverANewerOneIsRefused) {
  ASSERT_EQ(MsiexecWith(L"/i", L"2.1.0", L" INSTALLDIR=" + tk::ToWide(kOwnFolder)), 0u) << MsiLog();
  const std::vector<std::wstring> newer = RegisteredProducts();
  const DWORD refused = MsiexecWith(L"/i", L"2.0.0");
  EXPECT_TRUE(FailedInstallCode(refused)) << refused << "\n" << MsiLog();
  EXPECT_EQ(RegisteredProducts(), newer);
  EXPECT_EQ(RecordedString(L"ver"), "2.1.0");
  EXPECT_EQ(VisibleQuarnEntries(), 1);
}

// Removing through our own entry, as a person does in the list of programs, takes the MSI's
// hidden registration with it.
TEST_F(MsiDeployment, OurUninstallerAlsoUnregistersTheMsi) {
  ASSERT_EQ(MsiexecWith(L"/i", L"2.0.0", L" INSTALLDIR=" + tk::ToWide(kOwnFolder)), 0u) << MsiLog();
  const std::wstring log = setupFolder->Path() + L"uninstall.log";
  EXPECT_EQ(Run(InFolder("install\\"), L"Uninstall.exe", L"/S /LOG=\"" + log + L"\""), 0u) << FileBytes(log);
  ExpectNothingLeft();
  EXPECT_NE(FileBytes(log).find("msiexec.exe\" /x {"), std::string::npos) << FileBytes(log);
}

// setup.exe /S fails (another program on the site's port): msiexec fails as a whole, leaving no
// registration and no entry, and its log names setup's log, which holds the reason.
TEST_F(MsiDeployment, AFailedSetupRunFailsTheMsiAndLeavesNothingRegistered) {
  PortHolder server(8080);
  ASSERT_TRUE(server.Listening());
  const DWORD code = MsiexecWith(L"/i", L"2.0.0", L" INSTALLDIR=" + tk::ToWide(kOwnFolder));
  EXPECT_TRUE(FailedInstallCode(code)) << code << "\n" << MsiLog();
  EXPECT_TRUE(RegisteredProducts().empty());
  EXPECT_FALSE(MsiMarkerExists());
  EXPECT_FALSE(InstallRecordExists());
  EXPECT_EQ(VisibleQuarnEntries(), 0);
  EXPECT_FALSE(FolderExists(tk::ToWide(kOwnFolder)));
  EXPECT_NE(MsiLog().find("quarn-setup-msi.log"), std::string::npos) << "the MSI log names setup's log:\n" << MsiLog();
}

}  // namespace e2e
