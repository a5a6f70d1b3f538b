// The steps of start-up that come before the windows: the two working folders, and the splash.
#pragma once

#include <functional>
#include <string>

#include "common/portable/ExitCode.h"
#include "setup/portable/RunFolders.h"

namespace tk {
class Application;
}

namespace app {

// The short (8.3) name of an existing folder, as GetShortPathNameW gives it: the long name
// itself on a volume that keeps no short names, empty when the call fails.
using ShortNameLookup = std::function<std::wstring(const std::wstring& folder)>;
std::wstring SystemShortName(const std::wstring& folder);

// The setup folder and the staging folder as the system reports them, or why the program
// cannot work: the system does not report its temporary folder, or a folder has no name the
// program can use (the reason names it). A folder whose name GBK cannot hold is used by its
// short name, asked of shortName.
struct WorkingFolders {
  std::string setupFolder;    // ends in '\'
  std::string stagingFolder;  // ends in '\'
  // "" when both folders are known. Wide, because the folder it names may hold characters
  // GBK cannot: that is the problem.
  std::wstring problem;
};
WorkingFolders FindWorkingFolders(const ShortNameLookup& shortName = SystemShortName);

// Finds the working folders and settles them for the whole process; the reason when it cannot.
std::wstring SettleWorkingFolders(const ShortNameLookup& shortName = SystemShortName);

// The folders start-up has settled so far, with the log /LOG named: what the wizard window and
// every run are given. Only this layer reads the process-wide values.
setup::RunFolders SettledFolders();

// Shows the splash, paints it at once and asks for its release, which happens when messages
// are next handled: the picture stays while the wizard window is being built.
void ShowSplash(tk::Application& application);

// The wizard: start-up, the window and the message loop; returns the process exit code: how
// the last run ended, 1602 when the window was left before any run, 3 when another copy runs.
pub::ExitCode RunSetup();

// The uninstaller with its window: confirmation, the uninstall page, the result.
pub::ExitCode RunWindowedUninstall();

}  // namespace app
