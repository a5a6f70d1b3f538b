// Values that live for the whole process and hand data between start-up, the wizard, staging,
// the install run, the installation record and the uninstall run. User-interface thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/core/DateTime.h"

namespace pub {

struct ProcessValues {
  std::string SetupFolder;    // folder of the running executable, ends in '\'
  std::string StagingFolder;  // temporary folder + "quarne\", ends in '\'
  std::string PackageVersion;
  tk::TDateTime PackageDate = 0;
  int32_t InstalledFileCount = 0;
  int32_t StagedFileCount = 0;  // the file entries (not folders) the last staging wrote
  uint64_t PackageBytes = 0;  // the data of every entry, as staging found them
  // No list until staging has run; staging makes it afresh.
  std::unique_ptr<std::vector<std::string>> ProductNames;
  bool ArchiveFound = false;
  // Started as the uninstaller, with its window: no package, only the removal.
  bool UninstallOnly = false;
  // How the last removal ended, for the uninstaller's exit code: 0 done, 1 not done.
  int RemovalResult = 1;
  std::string LogPath;  // the run log, "" for the default one in the temporary folder
};

ProcessValues& Process();

}  // namespace pub
