// What setup.exe tells its caller when it ends. The values belong to the program's command
// line contract (scripts test them), so they never change once released.
#pragma once

namespace pub {

enum class ExitCode : int {
  Done = 0,            // the requested work is complete
  Failed = 1,          // the work did not complete; the log says why
  // Nothing was done: the arguments were not understood, or a removal's record names a folder
  // that is not its installation.
  BadCommandLine = 2,
  AlreadyRunning = 3,  // another copy of the program is running
  PackageProblem = 4,  // Setup.pak is missing or damaged
  DiskFull = 5,        // not enough space on the install drive
  PortTaken = 6,       // another program listens on a port the services need; nothing was written
  Downgrade = 7,       // the package is older than the installation; /S changes nothing without /ALLOWDOWNGRADE
  // The codes Windows Installer uses, which deployment tools already understand.
  UserCancelled = 1602,      // the wizard was left before anything was changed
  DoneRestartNeeded = 3010,  // done; files left behind go at the next restart
};

inline int ToInt(ExitCode code) { return static_cast<int>(code); }

}  // namespace pub
