// setup.exe's command line: the wizard when no option is given, or an unattended install or
// removal. Options start with '/' or '-' and are matched regardless of letter case; a value
// follows '=' in the same argument. Anything that is not understood is refused, naming the
// argument, rather than guessed at.
#pragma once

#include <string>
#include <vector>

namespace pub {

enum class RunMode { Wizard, Install, Uninstall, Help };

struct CommandLine {
  RunMode mode = RunMode::Wizard;
  bool silent = false;     // /S; on a refused line, whether /S was among the arguments
  bool uninstall = false;  // /uninstall
  bool help = false;       // /? /h /help
  // /ALLOWDOWNGRADE: /S may install a package older than the recorded installation.
  bool allowDowngrade = false;
  std::string folder;      // /D=folder, "" when not given
  std::string logPath;     // /LOG=path, "" when not given; '?' where GBK cannot hold the path
  int logArgument = -1;    // which argument gave /LOG, whose path the caller reads as given
  // Why the arguments were refused (GBK), "" when they were understood. A refused command
  // line ends the program with ExitCode::BadCommandLine and does nothing else.
  std::string error;

  bool Ok() const { return error.empty(); }
};

// One argument as GBK; heldByGbk is false when GBK could not hold all of it. Only /LOG's value
// may hold such characters (a log in a profile named in any script): the caller opens the log
// by the path as given. Any other such argument is refused, since a folder name that became
// '?' names another folder.
struct CommandArgument {
  std::string text;
  bool heldByGbk = true;
};

// arguments: as argv without the program name. startedAsUninstaller: the program was started
// under the uninstaller's name, which asks for a removal without /uninstall.
CommandLine ParseCommandLine(const std::vector<CommandArgument>& arguments, bool startedAsUninstaller);
// The same for arguments GBK holds whole.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments, bool startedAsUninstaller);

// The text setup.exe /? shows (GBK, lines separated by CR LF): the options and exit codes.
std::string CommandLineUsage();

}  // namespace pub
