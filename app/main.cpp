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

// The arguments as the system splits them, without the program's own name: as given, and as
// GBK with whether GBK holds each whole (the command line decides which may hold more).
struct Arguments {
  std::vector<std::wstring> given;
  std::vector<pub::CommandArgument> gbk;
};

Arguments ReadArguments() {
  Arguments arguments;
  int count = 0;
  wchar_t** split = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; split && i < count; ++i) {
    pub::CommandArgument argument;
    argument.heldByGbk = tk::FromWideChecked(split[i], &argument.text);
    if (!argument.heldByGbk) argument.text = tk::FromWide(split[i]);  // '?' for what GBK lacks
    arguments.given.push_back(split[i]);
    arguments.gbk.push_back(argument);
  }
  if (split) LocalFree(split);
  return arguments;
}

// /LOG's path as given, everything after the option's first '=' (as the command line reads it).
std::wstring GivenLogPath(const Arguments& arguments, int index) {
  const std::wstring& argument = arguments.given[static_cast<size_t>(index)];
  return argument.substr(argument.find(L'=') + 1);
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
  const Arguments arguments = ReadArguments();
  const pub::CommandLine commandLine = pub::ParseCommandLine(arguments.gbk, StartedAsUninstaller());
  *windowed = !commandLine.silent;
  if (!commandLine.Ok()) {
    if (!commandLine.silent) tk::ShowError(commandLine.error + "\r\n\r\n" + pub::CommandLineUsage());
    return pub::ToInt(pub::ExitCode::BadCommandLine);
  }
  // A relative /LOG names a file of the folder the program was started in: the path is made
  // full now, once. It is kept as given otherwise: a profile's name may hold what GBK cannot.
  if (commandLine.logArgument >= 0) {
    const std::wstring logPath = pub::walk::AbsolutePath(GivenLogPath(arguments, commandLine.logArgument));
    const std::string unsafe = pub::UnsafeTempFolderOf(logPath);
    if (!unsafe.empty()) {
      if (!commandLine.silent) tk::ShowError("无法使用日志文件 " + commandLine.logPath + "：" + unsafe);
      return pub::ToInt(pub::ExitCode::BadCommandLine);
    }
    pub::Process().LogPath = logPath;
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
