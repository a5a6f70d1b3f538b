#include "common/portable/WorkingFolders.h"

#include <cstring>

#include "toolkit/core/CodePage.h"

namespace pub {

std::string StagingFolderFor(const std::string& tempFolder) { return tempFolder + kStagingFolderName; }

std::string TempFolderOf(const std::string& stagingFolder) {
  const size_t name = std::strlen(kStagingFolderName);
  if (stagingFolder.size() <= name || stagingFolder.compare(stagingFolder.size() - name, name, kStagingFolderName) != 0)
    return std::string();
  return stagingFolder.substr(0, stagingFolder.size() - name);
}

bool WorkingFolderName(const std::u16string& name, const std::function<std::u16string()>& shortName,
                       std::string* gbk) {
  if (tk::Utf16ToGbk(name, gbk)) return true;
  const std::u16string alias = shortName();
  return !alias.empty() && tk::Utf16ToGbk(alias, gbk);
}

}  // namespace pub
