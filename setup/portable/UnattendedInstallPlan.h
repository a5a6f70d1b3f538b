// What an unattended install (setup.exe /S) does, decided before anything is touched: a
// first install, or a repair of the recorded installation, and the folder to install into.
// It follows the wizard's choices, except that where the wizard would ask, it refuses.
#pragma once

#include <string>

#include "setup/portable/RecordState.h"

namespace pub {

struct UnattendedInstallPlan {
  bool repair = false;
  std::string folder;  // GBK, without a trailing '\'
  // Why the run is refused (GBK), "" when it can go ahead. A refusal names the folder (or the
  // damaged record) and ends the program with ExitCode::BadCommandLine before anything is done.
  std::string error;

  bool Ok() const { return error.empty(); }
};

// record: the installation record as read. commandFolder: the /D folder, "" when none was given.
UnattendedInstallPlan PlanUnattendedInstall(const InstallationRecordReading& record, const std::string& commandFolder);
// The same for a record of text values: recordedFolder is the folder it names.
UnattendedInstallPlan PlanUnattendedInstall(bool recordExists, const std::string& recordedFolder,
                                            const std::string& commandFolder);

}  // namespace pub
