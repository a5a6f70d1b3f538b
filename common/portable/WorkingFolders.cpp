#include "common/portable/WorkingFolders.h"

#include "common/portable/GbkText.h"

namespace pub {

std::string StagingFolderFor(const std::string& tempFolder) { return tempFolder + kStagingFolderName; }

std::string SetupFolderFor(const std::string& executablePath) {
  size_t cut = LastDelimiter(executablePath, "\\:");
  return cut == std::string::npos ? std::string() : executablePath.substr(0, cut + 1);
}

}  // namespace pub
