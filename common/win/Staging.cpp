#include "common/win/Staging.h"

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <set>
#include <stdexcept>

#include "common/portable/EntryNames.h"
#include "common/portable/GbkCase.h"
#include "common/portable/GbkText.h"
#include "common/portable/OrderedWriters.h"
#include "common/portable/PathText.h"
#include "common/win/FolderSecurity.h"
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
// exists afterwards. Another writer may make one of the parents between the routine's look and
// its own make, which fails that try; a second try finds the parent there.
bool ForceFolders(const std::string& folder) {
  for (int tries = 0; tries < 2; ++tries) {
    int result = SHCreateDirectoryExW(nullptr, tk::ToWide(folder).c_str(), nullptr);
    if (result == ERROR_SUCCESS || FolderExists(folder)) return true;
  }
  return false;
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

// A folder of the staging folder that could not be made; its text is the user's.
class FolderNotMade : public std::runtime_error {
 public:
  explicit FolderNotMade(const std::string& folder) : std::runtime_error("无法建立目录:" + folder) {}
};

// An entry whose data differ from its digest; its text names the entry.
class EntryDamaged : public std::runtime_error {
 public:
  explicit EntryDamaged(const std::string& text) : std::runtime_error(text) {}
};

// One writer of staging: the package opened for reading of its own, a hash of its own, and the
// folder it made last. Writes the entries it is handed into the staging folder, each checked
// against its digest as its bytes pass; one that differs is removed again.
class EntryWriter {
 public:
  EntryWriter(const pak::PackageLocation& package, const std::string& stagingFolder,
              const pak::TkexPakDirectory& directory, const std::vector<std::string>& names, const PackageDigests& digests)
      : source_(pak::OpenPackageForReading(package)),
        digest_(std::make_shared<tk::Sha256>()),
        stagingFolder_(stagingFolder),
        directory_(directory),
        names_(names),
        digests_(digests) {}

  void operator()(int i) {
    const pak::TkexPakDirectoryItem& item = directory_.Item(i);
    const std::string destination = stagingFolder_ + names_[i];
    const std::string folder = FolderPart(destination);
    // Entries come folder by folder: a folder found or made is not looked up again. Another
    // writer may make the same folder at the same time; ForceFolders is content when it exists.
    if (folder != readyFolder_) {
      if (!FolderExists(folder) && !ForceFolders(folder)) throw FolderNotMade(folder);
      readyFolder_ = folder;
    }
    if (item.Kind != pak::kKindFile) return;
    {
      tk::TFileStream target(destination, tk::FileMode::Create);  // closed on every path
      source_->SetPosition(item.DataOffset);
      if (item.DataSize != 0) target.CopyFrom(*source_, item.DataSize, digest_.get());
    }
    if (!digests_.EntryMatches(i, *digest_)) {
      DeleteFileW(tk::ToWide(destination).c_str());
      throw EntryDamaged(digests_.MismatchText(i));
    }
  }

 private:
  // Shared by the copies a std::function makes.
  std::shared_ptr<tk::TStream> source_;
  std::shared_ptr<tk::Sha256> digest_;  // Finish starts it afresh for the next entry
  std::string stagingFolder_;
  const pak::TkexPakDirectory& directory_;
  const std::vector<std::string>& names_;
  const PackageDigests& digests_;
  std::string readyFolder_;
};

}  // namespace

std::vector<std::string> StagingResult::RootFiles() const {
  std::vector<std::string> root;
  for (const std::string& file : files)
    if (ProductName(file).empty()) root.push_back(file);
  return root;
}

std::string PackageVersion(const pak::PackageLocation& package) {
  try {
    pak::TkexPak archive(nullptr, package);
    return archive.Header->VersionText();
  } catch (const std::exception&) {
    return std::string();
  }
}

uint64_t UnpackedPackageSize(const pak::PackageLocation& package) {
  constexpr uint64_t kCluster = 4096;
  try {
    pak::TkexPak archive(nullptr, package);
    uint64_t total = 0;
    for (int32_t i = 0; i < archive.Directory->Count(); ++i)
      total += (uint64_t{archive.Directory->Item(i).DataSize} + kCluster - 1) / kCluster * kCluster + kCluster;
    return total;
  } catch (const std::exception&) {
    return 0;
  }
}

StagingResult UnpackPackage(const pak::PackageLocation& package, const std::string& stagingFolder, Progress* progress,
                            const std::string& makerKey, int writers) {
  if (!tk::FileExists(package.path)) return {StagingResult::PackageMissing, package.path};
  std::unique_ptr<pak::TkexPak> archive;
  try {
    archive = std::make_unique<pak::TkexPak>(nullptr, package);
  } catch (const pak::EPackageMissing&) {
    return {StagingResult::PackageMissing, package.path};  // gone between the look and the open
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

  // Written only into a folder made anew, which nobody else controls and no link leads out of.
  const std::string notMade = MakeFreshPrivateFolder(stagingFolder);
  if (!notMade.empty()) return {StagingResult::CannotWrite, notMade};

  ProductNames products(staged.products);
  const int32_t count = archive->Directory->Count();
  std::vector<std::string> names(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) names[i] = ConvertedName(archive->Directory->Item(i));
  // The entries are written by the writers; what each did is taken here in package order, so
  // the products, the list of files, the display and the first failure are as one writer
  // would leave them.
  const pak::TkexPakDirectory& directory = *archive->Directory;
  auto finished = [&](int i, std::exception_ptr error) {
    const std::string& name = names[i];
    try {
      if (error) std::rethrow_exception(error);
    } catch (const FolderNotMade& problem) {
      staged = {StagingResult::CannotWrite, problem.what()};
    } catch (const EntryDamaged& problem) {
      staged = {StagingResult::PackageDamaged, problem.what()};
    } catch (const tk::EReadError& problem) {
      staged = {StagingResult::PackageDamaged, name + ": " + problem.what()};
    } catch (const tk::EStreamError& problem) {
      staged = {StagingResult::CannotWrite, stagingFolder + name + ": " + problem.what()};
    } catch (const std::exception& problem) {
      staged = {StagingResult::PackageDamaged, name + ": " + problem.what()};
    }
    if (error) return false;
    products.Add(ProductName(name));
    if (directory.Item(i).Kind == pak::kKindFile) staged.files.push_back(name);
    if (progress) {
      progress->Status("开始解压......");
      progress->Line("..\\" + name);
      progress->Advance();
    }
    walk::KeepResponsive();
    return true;
  };
  try {
    RunOrdered(
        count, writers,
        [&] { return ItemJob(EntryWriter(package, stagingFolder, directory, names, *digests)); }, finished);
  } catch (const std::exception& problem) {
    // A writer could not open the package for itself.
    return {StagingResult::PackageDamaged, problem.what()};
  }
  return staged;
}

}  // namespace pub
