// Putting a staged tree in place. Within one volume each file is renamed into place, so its
// bytes are not written a second time and the staging folder is left all but empty; across
// volumes each file is copied. What a person sees is the same either way.
#pragma once

#include <string>
#include <vector>

#include "common/win/FileTree.h"

namespace pub {

// Puts every file of the source tree at the same place under destination: moved when both
// are on one volume, copied otherwise; reports like CopyFolderTree. True when all arrived.
bool PlaceFolderTree(const std::string& source, const std::string& destination, Progress* progress,
                     std::vector<CopyFailure>* failures);

}  // namespace pub
