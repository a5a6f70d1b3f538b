// The steps of start-up that come before the windows: the two working folders, and the splash.
#pragma once

#include "common/portable/ExitCode.h"

namespace tk {
class Application;
}

namespace app {

// Sets the setup folder and the staging folder from what the system reports. When the system
// cannot report its temporary folder, or a path has a character GBK cannot hold, shows an error
// and returns false without touching any folder.
bool FixWorkingFolders();

// Shows the splash, paints it at once and asks for its release, which happens when messages
// are next handled: the picture stays while the wizard window is being built.
void ShowSplash(tk::Application& application);

// The whole start-up and the message loop; returns the process exit code.
int RunSetup();

// The uninstaller with its window: confirmation, the uninstall page, the result.
pub::ExitCode RunWindowedUninstall();

}  // namespace app
