// The installation record as tests set it up and look at it, under HKEY_LOCAL_MACHINE.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

// Deletes HKLM\Software\quarn and the uninstall entry.
void CleanInstallRecord();
// Writes a record as an earlier installation would have: version key with installpath and
// the flag, product names under installproduct. When the folder exists, it gets what an
// install run leaves there to prove the folder is its installation (ProveInstallation).
void WriteRecord(const std::string& installPath, const std::vector<std::string>& products, bool hadSetJavaHome = false,
                 const std::string& version = "1.9.0");
// install\Uninstall.exe and an empty install\files.txt in the folder, as an install run
// places them before it records the folder.
void ProveInstallation(const std::string& installPath);
bool KeyExists(const std::string& key);  // under HKLM

}  // namespace testing_support
