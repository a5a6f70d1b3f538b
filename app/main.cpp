// setup.exe, and the same program as install\Uninstall.exe. Without options: the wizard, or
// under the uninstaller's name the removal with its window. /S runs without a window, /? shows
// the options; the exit code tells how the run ended (README, "Unattended use").
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/LastGuard.h"
#include "app/StartUp.h"
#include "app/Unattended.h"
#include "app/UninstallerRemoval.h"
#include "common/portable/CommandLine.h"
#include "common/portable/ProcessValues.h"
#include "common/win/FolderSecurity.h"
#include "common/win/WalkSupport.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/SystemLibrary.h"
#include "toolkit/win/Dialogs.h"
#include "toolkit/win/ProgramPath.h"

namespace {

// The arguments as the system splits them, without the program's own name; false when one
// holds a character GBK cannot hold (a folder such a name would be changed into '?').
bool Arguments(std::vector<std::string>* arguments) {
  int count = 0;
  wchar_t** split = CommandLineToArgvW(GetCommandLineW(), &count);
  bool convertible = true;
  for (int i = 1; split && i < count; ++i) {
    std::string argument;
    convertible = tk::FromWideChecked(split[i], &argument) && convertible;
    arguments->push_back(argument);
  }
  if (split) LocalFree(split);
  return convertible;
}

bool StartedAsUninstaller() {
  const std::wstring path = tk::ProgramPath();
  std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
  return _wcsicmp(name.c_str(), L"Uninstall.exe") == 0;
}

// The program once its DLL search is safe. *windowed tells the last guard, once the command
// line is known, whether an error may be shown in a box.
int Main(bool* windowed) {
  if (app::RemoveUninstallerIfAsked()) return 0;
  std::vector<std::string> arguments;
  const bool convertible = Arguments(&arguments);
  pub::CommandLine commandLine = pub::ParseCommandLine(arguments, StartedAsUninstaller());
  if (!convertible) commandLine.error = "命令行中含有安装程序无法处理的字符（例如韩文或表情符号），请换用其他目录或文件名。";
  *windowed = !commandLine.silent;
  if (!commandLine.Ok()) {
    if (!commandLine.silent) tk::ShowError(commandLine.error + "\r\n\r\n" + pub::CommandLineUsage());
    return pub::ToInt(pub::ExitCode::BadCommandLine);
  }
  // A relative /LOG names a file of the folder the program was started in; a run moves the
  // current folder (walks, commands run from the tools' folders), so the path is fixed now.
  if (!commandLine.logPath.empty()) {
    const std::wstring logPath = pub::walk::AbsolutePath(tk::ToWide(commandLine.logPath));
    const std::string unsafe = pub::UnsafeTempFolderOf(logPath);
    if (!unsafe.empty()) {
      if (!commandLine.silent) tk::ShowError("无法使用日志文件 " + commandLine.logPath + "：" + unsafe);
      return pub::ToInt(pub::ExitCode::BadCommandLine);
    }
    pub::Process().LogPath = tk::FromWide(logPath);
  }
  switch (commandLine.mode) {
    case pub::RunMode::Help:
      tk::ShowPlain(pub::CommandLineUsage());
      return pub::ToInt(pub::ExitCode::Done);
    case pub::RunMode::Install:
      return pub::ToInt(app::RunUnattendedInstall(commandLine));
    case pub::RunMode::Uninstall: {
      pub::ExitCode result = commandLine.silent ? app::RunUnattendedUninstall() : app::RunWindowedUninstall();
      if ((result == pub::ExitCode::Done || result == pub::ExitCode::DoneRestartNeeded) &&
          app::ScheduleUninstallerRemoval())
        result = pub::ExitCode::DoneRestartNeeded;
      return pub::ToInt(result);
    }
    case pub::RunMode::Wizard:
      break;
  }
  return pub::ToInt(app::RunSetup());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything can load a DLL by name: setup.exe runs elevated from wherever it was
  // downloaded, and a DLL planted beside it must never be the one loaded.
  tk::RestrictDllSearchToSystem();
  app::GuardTerminate();
  bool windowed = false;
  try {
    return Main(&windowed);
  } catch (const std::exception& error) {
    return app::EndAfterEscapedError(error.what(), windowed);
  } catch (...) {
    return app::EndAfterEscapedError(std::string(), windowed);
  }
}
