#include "common/win/Staging.h"

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <set>

#include "common/portable/EntryNames.h"
#include "common/portable/GbkCase.h"
#include "common/portable/GbkText.h"
#include "common/portable/PathText.h"
#include "common/portable/ProcessValues.h"
#include "common/portable/WorkingFolders.h"
#include "common/win/WalkSupport.h"
#include "pak/Pak.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"

namespace pub {
namespace {

// The entry's name with '\' separators.
std::string ConvertedName(const pak::TkexPakDirectoryItem& item) {
  std::string name = item.NameText();
  ReplaceChar('/', '\\', name);
  return name;
}

// Up to and including the last '\' that is a character of its own.
std::string FolderPart(const std::string& path) {
  size_t cut = LastDelimiter(path, "\\");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

using tk::FolderExists;

// Creates the folder and every missing parent with the shell's own routine; true when it
// exists afterwards.
bool ForceFolders(const std::string& folder) {
  int result = SHCreateDirectoryExW(nullptr, tk::ToWide(folder).c_str(), nullptr);
  return result == ERROR_SUCCESS || FolderExists(folder);
}

// The text before the first '\' of the name, or empty when there is none.
std::string ProductName(const std::string& name) {
  for (size_t i = 0; i < name.size(); ++i) {
    if (IsGbkLeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size()) {
      ++i;
      continue;
    }
    if (name[i] == '\\') return name.substr(0, i);
  }
  return std::string();
}

// The product names in the order first met, each once whatever its letter case. A file right
// in the package's root belongs to no product.
class ProductNames {
 public:
  explicit ProductNames(std::vector<std::string>& names) : names_(names) {}
  void Add(const std::string& name) {
    if (!name.empty() && folded_.insert(GbkUpperCase(name)).second) names_.push_back(name);
  }

 private:
  std::vector<std::string>& names_;
  std::set<std::string> folded_;
};

}  // namespace

std::string PackageVersion() {
  try {
    pak::TkexPak archive(nullptr, Process().SetupFolder + kPackageFileName, pak::OpenFor::Reading);
    return archive.Header->VersionText();
  } catch (const std::exception&) {
    return std::string();
  }
}

uint64_t UnpackedPackageSize() {
  constexpr uint64_t kCluster = 4096;
  try {
    pak::TkexPak archive(nullptr, Process().SetupFolder + kPackageFileName, pak::OpenFor::Reading);
    uint64_t total = 0;
    for (int32_t i = 0; i < archive.Directory->Count(); ++i)
      total += (uint64_t{archive.Directory->Item(i).DataSize} + kCluster - 1) / kCluster * kCluster + kCluster;
    return total;
  } catch (const std::exception&) {
    return 0;
  }
}

StagingResult UnpackPackage(Progress* progress, const std::string& makerKey) {
  const ProcessValues& process = Process();
  const std::string packagePath = process.SetupFolder + kPackageFileName;
  if (!tk::FileExists(packagePath)) return {StagingResult::PackageMissing, packagePath};
  std::unique_ptr<pak::TkexPak> archive;
  try {
    archive = std::make_unique<pak::TkexPak>(nullptr, packagePath, pak::OpenFor::Reading);
  } catch (const pak::EPackageMissing&) {
    return {StagingResult::PackageMissing, packagePath};  // gone between the look and the open
  } catch (const std::exception& error) {
    return {StagingResult::PackageDamaged, error.what()};
  }
  StagingResult staged;
  staged.version = archive->Header->VersionText();
  staged.date = archive->Header->CreationTime;
  staged.entryCount = archive->Directory->Count();
  for (int32_t i = 0; i < archive->Directory->Count(); ++i) staged.packageBytes += archive->Directory->Item(i).DataSize;
  if (progress) progress->Range(archive->Directory->Count());
  // A package with a name that could land outside the staging folder, or that Windows would
  // write under another name or to a device, is refused whole, before anything is written.
  for (int32_t i = 0; i < archive->Directory->Count(); ++i) {
    const pak::TkexPakDirectoryItem& item = archive->Directory->Item(i);
    std::string problem = NameProblem(item.NameText(), item.Kind);
    if (!problem.empty()) return {StagingResult::PackageDamaged, item.NameText() + ": " + problem};
  }
  std::unique_ptr<PackageDigests> digests;
  try {
    digests = std::make_unique<PackageDigests>(*archive, makerKey);
  } catch (const std::exception& error) {
    return {StagingResult::PackageDamaged, error.what()};
  }
  if (!digests->Trust().accepted) return {StagingResult::PackageRefused, digests->Trust().message};
  if (progress) progress->Note(digests->Trust().message);
  tk::Sha256 digest;  // one hash object for every entry: Finish starts it afresh

  ProductNames products(staged.products);
  std::string readyFolder;
  for (int32_t i = 0; i < archive->Directory->Count(); ++i) {
    const pak::TkexPakDirectoryItem& item = archive->Directory->Item(i);
    if (progress) progress->Status("开始解压......");
    std::string name = ConvertedName(item);
    std::string destination = process.StagingFolder + name;
    std::string folder = FolderPart(destination);
    // Entries come folder by folder: a folder found or made is not looked up again.
    if (folder != readyFolder) {
      if (!FolderExists(folder) && !ForceFolders(folder))
        return {StagingResult::CannotWrite, "无法建立目录:" + folder};
      readyFolder = folder;
    }
    const std::string product = ProductName(name);
    products.Add(product);
    try {
      if (item.Kind == pak::kKindFile) {
        archive->ExtractEntry(i, destination, &digest);
        if (!digests->EntryMatches(i, digest)) {
          DeleteFileW(tk::ToWide(destination).c_str());
          return {StagingResult::PackageDamaged, digests->MismatchText(i)};
        }
        staged.files.push_back(name);
        if (product.empty()) staged.rootFiles.push_back(name);
      }
    } catch (const tk::EReadError& error) {
      return {StagingResult::PackageDamaged, name + ": " + error.what()};
    } catch (const tk::EStreamError& error) {
      return {StagingResult::CannotWrite, destination + ": " + error.what()};
    } catch (const std::exception& error) {
      return {StagingResult::PackageDamaged, name + ": " + error.what()};
    }
    if (progress) {
      progress->Line("..\\" + name);
      progress->Advance();
    }
    walk::KeepResponsive();
  }
  return staged;
}

}  // namespace pub
