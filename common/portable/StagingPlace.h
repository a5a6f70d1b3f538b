// Where an install stages its package when the install folder is not on the temporary
// folder's volume: a folder of its own on the install folder's volume, so that putting the
// staged files in place renames them there instead of writing every byte a second time.
#pragma once

#include <string>

namespace pub {

// The staging folder's name at the root of the install folder's volume.
constexpr const char* kVolumeStagingName = "quarne.staging";

// volumeRoot (ends in '\') + kVolumeStagingName + '\', or "" when the install folder (GBK,
// without a trailing '\') is that folder or lies inside it: staging makes its folder anew, and
// would remove the installation with whatever stood there.
std::string VolumeStagingFolder(const std::string& volumeRoot, const std::string& installFolder);

}  // namespace pub
