// What the wizard accepts as an install folder: an absolute path on a drive ("X:\..."), not
// the drive itself. Anything else would be resolved against whatever the current folder
// happens to be, at install and again, differently, at removal.
#pragma once

#include <string>

namespace pub {

// The install folder offered when nothing is recorded; its configuration needs no patching.
constexpr const char* kDefaultInstallFolder = "c:\\quarn";

// The message that tells the user why folder (GBK, one trailing '\' allowed) cannot be used,
// or "" when it can.
std::string InstallFolderProblem(const std::string& folder);

}  // namespace pub
