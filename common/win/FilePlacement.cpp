#include "common/win/FilePlacement.h"

#include "common/win/Volumes.h"

namespace pub {

bool PlaceFolderTree(const std::string& source, const std::string& destination, Progress* progress,
                     std::vector<CopyFailure>* failures) {
  if (OnOneVolume(source, destination)) return MoveFolderTree(source, destination, progress, failures);
  return CopyFolderTree(source, destination, nullptr, true, progress, failures);
}

}  // namespace pub
