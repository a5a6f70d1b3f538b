// The uninstaller removes its own copy last. A running program cannot delete its own file, so
// once the removal is done it starts a copy of itself in a private folder of the temporary
// folder, tells it (by an environment variable, never an option a user could type) which
// process and file to wait for, and ends; the copy waits for that end, deletes Uninstall.exe,
// its "install" folder and the install folder when empty, then has the command processor
// delete the copy after it ends, with a delete at the next restart as the last resort.
// The variable is honoured only by the copy it was written for and only for an uninstaller
// whose record is gone (setup/portable/UninstallerRemovalTask.h).
#pragma once

namespace app {

// When this program runs as install folder + "\install\Uninstall.exe": starts the copy that
// removes it after this process ends. When no copy can be started, leaves the uninstaller, its
// folder and the install folder to the system's delete at the next restart, notes that in the
// run log and returns true (the removal then ends with "restart needed"). Does nothing otherwise.
bool ScheduleUninstallerRemoval();

// True when this process is such a copy: it did the removal and the program should end. Any
// other start with the variable set ignores it, notes that in the run log and goes on.
bool RemoveUninstallerIfAsked();

}  // namespace app
