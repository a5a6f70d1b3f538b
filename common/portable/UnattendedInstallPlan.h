// What an unattended install (setup.exe /S) does, decided before anything is touched: a
// first install, or a repair of the recorded installation, and the folder to install into.
// It follows the wizard's choices, except that where the wizard would ask, it refuses.
#pragma once

#include <string>

namespace pub {

struct UnattendedInstallPlan {
  bool repair = false;
  std::string folder;  // GBK, without a trailing '\'
  // Why the run is refused (GBK), "" when it can go ahead. A refusal names the folder (or the
  // damaged record) and ends the program with ExitCode::BadCommandLine before anything is done.
  std::string error;

  bool Ok() const { return error.empty(); }
};

// recordedFolder: the folder the installation record names, when a record exists.
// commandFolder: the /D folder, "" when none was given.
UnattendedInstallPlan PlanUnattendedInstall(bool recordExists, const std::string& recordedFolder,
                                            const std::string& commandFolder);

}  // namespace pub
