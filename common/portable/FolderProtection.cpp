#include "common/portable/FolderProtection.h"

#include <set>

#include "common/portable/GbkCase.h"

namespace pub {
namespace {

constexpr const char* kInstallSubfolder = "install";

// Whether every entry is something this package places (compared without regard to case).
bool HoldsOnlyOurs(const InstallFolderFacts& facts) {
  std::set<std::string> ours{GbkUpperCase(kInstallSubfolder)};
  for (const std::string& name : facts.products) ours.insert(GbkUpperCase(name));
  for (const std::string& name : facts.rootFiles) ours.insert(GbkUpperCase(name));
  for (const std::string& entry : facts.entries)
    if (!ours.count(GbkUpperCase(entry))) return false;
  return true;
}

}  // namespace

FolderProtection PlanFolderProtection(const InstallFolderFacts& facts) {
  FolderProtection protection;
  const bool untouched = !facts.existed || facts.entries.empty();
  protection.wholeRoot = untouched || (facts.recordedHere && HoldsOnlyOurs(facts));
  if (protection.wholeRoot) {
    protection.folders.push_back(facts.folder);
    return protection;
  }
  for (const std::string& product : facts.products) protection.folders.push_back(facts.folder + "\\" + product);
  protection.folders.push_back(facts.folder + "\\" + kInstallSubfolder);
  return protection;
}

std::string FolderProtection::Description() const {
  std::string text = wholeRoot ? "安装目录已设为只有 SYSTEM 和 Administrators 可以更改（Users 只能读取和运行）："
                               : "安装目录中已有其他文件，保留它原有的权限；以下文件夹已设为只有 SYSTEM 和 "
                                 "Administrators 可以更改（Users 只能读取和运行）：";
  for (size_t i = 0; i < folders.size(); ++i) text += (i ? "、" : "") + folders[i];
  return text;
}

}  // namespace pub
