#include "common/portable/WorkingFolders.h"

#include "toolkit/core/CodePage.h"

namespace pub {

std::string StagingFolderFor(const std::string& tempFolder) { return tempFolder + kStagingFolderName; }

bool WorkingFolderName(const std::u16string& name, const std::function<std::u16string()>& shortName,
                       std::string* gbk) {
  if (tk::Utf16ToGbk(name, gbk)) return true;
  const std::u16string alias = shortName();
  return !alias.empty() && tk::Utf16ToGbk(alias, gbk);
}

}  // namespace pub
