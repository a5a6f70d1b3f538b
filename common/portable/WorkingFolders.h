// How start-up derives its two working folders from what the system reports.
#pragma once

#include <functional>
#include <string>

namespace pub {

constexpr const char* kStagingFolderName = "quarne\\";
constexpr const char* kPackageFileName = "Setup.pak";

// The temporary folder (ending in '\') followed by "quarne\".
std::string StagingFolderFor(const std::string& tempFolder);
// The temporary folder (ending in '\') a staging folder was made for, as start-up settled it
// (by its short name where GBK cannot hold the long one); "" when stagingFolder is none.
std::string TempFolderOf(const std::string& stagingFolder);

// The GBK name the program uses for a working folder the system names in UTF-16: the name
// itself when GBK holds it, exactly as it is; otherwise the folder's short (8.3) name, asked
// for only then, when GBK holds that. False when neither converts: a volume without short
// names gives back the long name, or nothing.
bool WorkingFolderName(const std::u16string& name, const std::function<std::u16string()>& shortName,
                       std::string* gbk);

}  // namespace pub
