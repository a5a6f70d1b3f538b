// The installation record as tests set it up and look at it, under HKEY_LOCAL_MACHINE.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

// Deletes HKLM\Software\quarn and the uninstall entry.
void CleanInstallRecord();
// Writes a record as an earlier installation would have: version key with installpath and
// the flag, product names under installproduct.
void WriteRecord(const std::string& installPath, const std::vector<std::string>& products, bool hadSetJavaHome = false,
                 const std::string& version = "1.9.0");
bool KeyExists(const std::string& key);  // under HKLM

}  // namespace testing_support
