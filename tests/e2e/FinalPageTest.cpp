// The final page as a person meets it, with setup.exe in a folder that holds nothing but it and
// its package: the database service registered again by the installed tool, and the site
// opened in a program that may run long after the wizard, from a folder no removal deletes.
#include <windows.h>

#include <cstdlib>

#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/Services.h"
#include "tests/e2e/driver/WindowQuery.h"
#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

constexpr const wchar_t* kHandlerKey = L"http\\shell\\open\\command";

// The program the shell starts for a web address: the browser stand-in, which notes its
// process, current folder and address in a file and keeps running. The setting is put back.
class BrowserStandin {
 public:
  explicit BrowserStandin(const std::wstring& log) : log_(log) {
    hadCommand_ = Read(&previous_);
    Write(L"\"" + ProgramFolder() + L"browser_standin.exe\" \"" + log + L"\" \"%1\"");
  }
  ~BrowserStandin() {
    if (hadCommand_) Write(previous_);
    if (DWORD id = ProcessId())
      if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, kWindowWait);
        CloseHandle(process);
      }
  }
  // "id|folder|address", once the stand-in has started.
  std::string Line() const {
    std::string text = FileBytes(log_);
    return text.substr(0, text.find('\n'));
  }
  DWORD ProcessId() const { return static_cast<DWORD>(std::strtoul(Line().c_str(), nullptr, 10)); }
  std::string Folder() const {
    const std::string line = Line();
    const size_t first = line.find('|'), second = line.find('|', first + 1);
    return second == std::string::npos ? std::string() : line.substr(first + 1, second - first - 1);
  }
  bool Running() const {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, ProcessId());
    if (!process) return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
  }

 private:
  static bool Read(std::wstring* value) {
    wchar_t buffer[2048] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, kHandlerKey, nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
      return false;
    *value = buffer;
    return true;
  }
  static void Write(const std::wstring& value) {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, kHandlerKey, nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }

  std::wstring log_;
  bool hadCommand_ = false;
  std::wstring previous_;
};

class FinalPage : public EndToEnd {};

TEST_F(FinalPage, RegistersWithTheInstalledToolAndOpensTheSiteFromAFolderNoRemovalDeletes) {
  ASSERT_FALSE(FileExists(setupFolder->Path() + L"mysqld-nt.exe")) << "setup.exe must have no tool beside it";
  BrowserStandin browserStandin(setupFolder->Path() + L"browser.txt");
  SetupProcess& setup = Start();
  Wizard wizard(setup.Id());
  ASSERT_NO_FATAL_FAILURE(WalkToFolderPage(wizard, kOwnFolder));
  wizard.Next();
  ASSERT_TRUE(WaitForRunEnd(setup, wizard, "完成")) << Situation(setup, wizard);

  // Gone before the final page: only its own registration can bring it back.
  ASSERT_TRUE(RemoveService(L"mysqlquarn"));
  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kFinalTitle));
  ASSERT_TRUE(WaitUntil([&] { return wizard.NextCaption() == "退出" && IsEnabled(wizard.NextButton()); }))
      << Situation(setup, wizard);
  EXPECT_TRUE(QueryService(L"mysqlquarn").exists) << "the final page did not register the database service";
  EXPECT_TRUE(OpenMessageBoxes(setup.Id()).empty()) << Situation(setup, wizard);

  wizard.Next();
  ASSERT_TRUE(setup.WaitForExit()) << "the finish action did not end the program";
  ASSERT_TRUE(WaitUntil([&] { return browserStandin.ProcessId() != 0; })) << "the shell started no browser";
  const std::string opened = browserStandin.Folder();
  EXPECT_EQ(tk::ToWide(opened).find(tk::ToWide(kOwnFolder)), std::wstring::npos) << opened;

  // The removal deletes the web server's tools while the browser still runs.
  SetupProcess& removal = StartWith(tk::ToWide(std::string(kOwnFolder) + "\\install\\"), L"Uninstall.exe", L"/S");
  ASSERT_TRUE(removal.WaitForExit(kRunWait));
  EXPECT_EQ(removal.ExitCode(), 0u);
  EXPECT_TRUE(browserStandin.Running());
  EXPECT_FALSE(FolderExists(tk::ToWide(std::string(kOwnFolder) + "\\tomcat5\\bin")));
}

}  // namespace
}  // namespace e2e
