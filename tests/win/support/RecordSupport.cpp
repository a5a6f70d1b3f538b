#include "tests/win/support/RecordSupport.h"

#include <gtest/gtest.h>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/Registry.h"

namespace testing_support {

void CleanInstallRecord() {
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  registry.DeleteKey("\\Software\\quarn");
  registry.DeleteKey("\\Software\\Microsoft\\windows\\CurrentVersion\\Uninstall\\Quarn");
}

void ProveInstallation(const std::string& installPath) {
  const std::wstring install = tk::ToWide(installPath + "\\install");
  CreateDirectoryW(install.c_str(), nullptr);
  for (const wchar_t* name : {L"\\Uninstall.exe", L"\\files.txt"}) {
    HANDLE file = CreateFileW((install + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << installPath;
    CloseHandle(file);
  }
}

void WriteRecord(const std::string& installPath, const std::vector<std::string>& products, bool hadSetJavaHome,
                 const std::string& version) {
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey("\\Software\\quarn\\version", true));
  registry.WriteString("ver", version);
  registry.WriteString("installpath", installPath);
  registry.WriteInteger("installfilecount", 0);
  registry.WriteInteger("HadSetJAVA_HOME", hadSetJavaHome ? 1 : 0);
  registry.CloseKey();
  ASSERT_TRUE(registry.OpenKey("\\Software\\quarn\\installproduct", true));
  for (const std::string& product : products) registry.WriteInteger(product, 1);
  registry.CloseKey();
  // Never at a drive root: a test that records one must place anything there itself.
  if (installPath.size() > 3 && installPath[1] == ':' && tk::FolderExists(installPath)) ProveInstallation(installPath);
}

bool KeyExists(const std::string& key) {
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  return registry.KeyExists(key);
}

}  // namespace testing_support
