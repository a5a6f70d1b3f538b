// How start-up derives its two working folders from what the system reports.
#pragma once

#include <string>

namespace pub {

constexpr const char* kStagingFolderName = "quarne\\";
constexpr const char* kPackageFileName = "Setup.pak";

// The temporary folder (ending in '\') followed by "quarne\".
std::string StagingFolderFor(const std::string& tempFolder);
// The folder part of an executable's full path, with its trailing '\' ("D:\dist\setup.exe"
// gives "D:\dist\", "D:\setup.exe" gives "D:\"). Lead-byte aware: a GBK trail byte 0x5C is
// no separator.
std::string SetupFolderFor(const std::string& executablePath);

}  // namespace pub
