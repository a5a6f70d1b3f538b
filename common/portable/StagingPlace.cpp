#include "common/portable/StagingPlace.h"

#include "common/portable/GbkCase.h"

namespace pub {

std::string VolumeStagingFolder(const std::string& volumeRoot, const std::string& installFolder) {
  if (volumeRoot.empty() || volumeRoot.back() != '\\') return std::string();
  const std::string staging = volumeRoot + kVolumeStagingName + "\\";
  const std::string install = GbkUpperCase(installFolder) + "\\";
  if (install.compare(0, staging.size(), GbkUpperCase(staging)) == 0) return std::string();
  return staging;
}

}  // namespace pub
