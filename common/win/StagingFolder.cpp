#include "common/win/StagingFolder.h"

#include "common/portable/StagingPlace.h"
#include "common/win/FolderSecurity.h"
#include "common/win/Volumes.h"
#include "toolkit/core/CodePage.h"

namespace pub {

std::string ChooseStagingFolder(const std::string& installFolder, const std::string& tempStaging, std::string* note) {
  if (OnOneVolume(tempStaging, installFolder)) return tempStaging;
  std::string root;
  if (!tk::FromWideChecked(VolumeRoot(installFolder), &root)) return tempStaging;
  const std::string staging = VolumeStagingFolder(root, installFolder);
  if (staging.empty()) return tempStaging;
  const std::string notMade = MakeFreshPrivateFolder(staging);
  if (notMade.empty()) return staging;
  if (note) *note = notMade + "；改用 " + tempStaging;
  return tempStaging;
}

}  // namespace pub
