// A DLL left beside setup.exe (in a Downloads folder, say) under the name of a system DLL that
// is no KnownDLL is never loaded: setup.exe imports only KnownDLLs and takes every other DLL
// from the system folder. The planted DLLs (bin/planted/) each leave a marker file when a
// process loads them. Under Wine, a DLL that Wine also provides is taken from the program's
// folder only when Wine is told to prefer native DLLs for it. WINEDLLOVERRIDES in the
// environment block of a program started with CreateProcess does not do it (seen with Wine 8);
// the program's own key, HKCU\Software\Wine\AppDefaults\NAME.exe\DllOverrides, does. A program
// beside setup.exe that loads version.dll by bare name shows it first, so the test cannot pass
// for want of a loaded DLL.
#include <windows.h>

#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/Services.h"
#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

// The names (without ".dll") of the DLLs built into bin/planted/.
std::vector<std::wstring> PlantedDllNames() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((ProgramFolder() + L"planted\\*.dll").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    names.push_back(name.substr(0, name.size() - 4));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// Tells Wine to prefer, for one program (by file name), the DLLs found beside it to its own;
// the key goes again at the end.
class WinePrefersNative {
 public:
  WinePrefersNative(const std::wstring& program, const std::vector<std::wstring>& dlls)
      : key_(L"Software\\Wine\\AppDefaults\\" + program) {
    Remove();
    HKEY overrides = nullptr;
    written_ = RegCreateKeyExW(HKEY_CURRENT_USER, (key_ + L"\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                               nullptr, &overrides, nullptr) == ERROR_SUCCESS;
    for (const std::wstring& dll : dlls) {
      static const wchar_t kOrder[] = L"native,builtin";
      written_ = written_ && RegSetValueExW(overrides, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kOrder),
                                            sizeof kOrder) == ERROR_SUCCESS;
    }
    if (overrides) RegCloseKey(overrides);
  }
  ~WinePrefersNative() { Remove(); }
  WinePrefersNative(const WinePrefersNative&) = delete;
  WinePrefersNative& operator=(const WinePrefersNative&) = delete;
  bool Written() const { return written_; }

 private:
  void Remove() { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

  std::wstring key_;
  bool written_ = false;
};

class PlantedDlls : public EndToEnd {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(EndToEnd::SetUp());
    markers = std::make_unique<WorkFolder>(L"quarn-markers");
    const std::vector<std::wstring> names = PlantedDllNames();
    ASSERT_GE(names.size(), 6u) << "the planted DLLs are missing from " << tk::WideToUtf8(ProgramFolder())
                                << "planted\\ (build them: make win)";
    for (const std::wstring& name : names) ASSERT_NO_FATAL_FAILURE(Plant(name + L".dll"));
    ASSERT_NO_FATAL_FAILURE(Plant(L"load_version.exe"));
    // Wine's own user32.dll imports version.dll. Windows takes what a KnownDLL such as user32
    // imports from the system folder; Wine, told to prefer native DLLs, takes it from the
    // program's folder before the program's first line, whatever the program does. So for
    // setup.exe, which imports user32, Wine keeps its own version.dll (loaded at start, it is
    // the one any later load by name gets); the control program, which does not import user32,
    // shows that a planted version.dll is taken.
    std::vector<std::wstring> forSetup;
    for (const std::wstring& name : names)
      if (name != L"version") forSetup.push_back(name);
    ASSERT_NO_FATAL_FAILURE(PreferNative(L"setup.exe", forSetup));
    ASSERT_NO_FATAL_FAILURE(PreferNative(L"load_version.exe", names));
    environment = {{L"QUARN_DLL_MARKERS", markers->Path()}};
  }

  void TearDown() override {
    EndToEnd::TearDown();
    preferences.clear();
  }

  void PreferNative(const wchar_t* program, const std::vector<std::wstring>& dlls) {
    preferences.push_back(std::make_unique<WinePrefersNative>(program, dlls));
    ASSERT_TRUE(preferences.back()->Written()) << "cannot write Wine's DLL overrides of " << tk::WideToUtf8(program);
  }

  void Plant(const std::wstring& file) {
    const std::wstring source = ProgramFolder() + L"planted\\" + file;
    ASSERT_TRUE(CopyFileW(source.c_str(), (setupFolder->Path() + file).c_str(), FALSE))
        << "cannot plant " << tk::WideToUtf8(source);
  }

  DWORD RunToEnd(const std::wstring& program, const std::wstring& arguments) {
    SetupProcess& process = StartWith(setupFolder->Path(), program, arguments, environment);
    EXPECT_TRUE(process.WaitForExit(kRunWait)) << tk::WideToUtf8(program) << " did not end";
    return process.ExitCode();
  }

  // The control: a program in the same folder that loads version.dll by bare name gets the
  // planted one. Without it, no marker could mean that Wine never takes a planted DLL.
  void ExpectWineTakesAPlantedDll() {
    EXPECT_EQ(RunToEnd(L"load_version.exe", L""), 0u);
    ASSERT_NE(MarkersLeft().find("version.dll"), std::string::npos)
        << "Wine did not load the version.dll planted beside a program that loads it by bare name, though its "
        << "DllOverrides prefer native DLLs: this test cannot tell whether setup.exe would load a planted DLL";
    ASSERT_TRUE(DeleteFileW((markers->Path() + L"version.dll").c_str()));
  }

  // Each marker left: the DLL's file name and the programs that loaded it.
  std::string MarkersLeft() const {
    std::string left;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((markers->Path() + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return left;
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      std::string loaders = FileBytes(markers->Path() + found.cFileName);
      while (!loaders.empty() && loaders.back() == '\n') loaders.pop_back();
      for (char& c : loaders)
        if (c == '\n') c = ',';
      left += tk::WideToUtf8(found.cFileName) + " (loaded by " + loaders + ") ";
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return left;
  }

  std::unique_ptr<WorkFolder> markers;
  std::vector<std::unique_ptr<WinePrefersNative>> preferences;
  EnvironmentChanges environment;
};

}  // namespace

TEST_F(PlantedDlls, AnUnattendedInstallLoadsNoneOfTheDllsBesideSetup) {
  ASSERT_NO_FATAL_FAILURE(ExpectWineTakesAPlantedDll());
  const std::wstring log = setupFolder->Path() + L"run.log";
  EXPECT_EQ(RunToEnd(L"setup.exe", L"/S /D=" + tk::ToWide(kOwnFolder) + L" /LOG=\"" + log + L"\""), 0u)
      << FileBytes(log);
  EXPECT_EQ(MarkersLeft(), "") << "DLLs planted beside setup.exe were loaded";
  EXPECT_EQ(RecordedString(L"installpath"), kOwnFolder);
  EXPECT_TRUE(WaitForRunning(L"tomcatquarn", kWindowWait));
}

// A person double-clicks setup.exe in the Downloads folder: the wizard, with its pictures and
// themed controls, through a whole installation.
TEST_F(PlantedDlls, TheWizardLoadsNoneOfTheDllsBesideItThroughAWholeInstallation) {
  ASSERT_NO_FATAL_FAILURE(ExpectWineTakesAPlantedDll());
  SetupProcess& setup = StartWith(setupFolder->Path(), L"setup.exe", L"", environment);
  ASSERT_NO_FATAL_FAILURE(InstallThroughWizard(setup, kOwnFolder));
  EXPECT_EQ(MarkersLeft(), "") << "DLLs planted beside setup.exe were loaded";
  EXPECT_EQ(RecordedString(L"installpath"), kOwnFolder);
}

}  // namespace e2e
