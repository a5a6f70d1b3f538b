// The steps of start-up that come before the windows: the two working folders, and the splash.
#pragma once

#include <functional>
#include <string>

#include "common/portable/ExitCode.h"

namespace tk {
class Application;
}

namespace app {

// The short (8.3) name of an existing folder, as GetShortPathNameW gives it: the long name
// itself on a volume that keeps no short names, empty when the call fails.
using ShortNameLookup = std::function<std::wstring(const std::wstring& folder)>;
std::wstring SystemShortName(const std::wstring& folder);

// Sets the setup folder and the staging folder from what the system reports. A folder whose
// name GBK cannot hold is used by its short name, asked of shortName. When the system cannot
// report its temporary folder, or a folder has no name the program can use, shows an error
// that names it and returns false without touching any folder.
bool FixWorkingFolders(const ShortNameLookup& shortName = SystemShortName);

// Shows the splash, paints it at once and asks for its release, which happens when messages
// are next handled: the picture stays while the wizard window is being built.
void ShowSplash(tk::Application& application);

// The whole start-up and the message loop; returns the process exit code.
int RunSetup();

// The uninstaller with its window: confirmation, the uninstall page, the result.
pub::ExitCode RunWindowedUninstall();

}  // namespace app
