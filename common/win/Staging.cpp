#include "common/win/Staging.h"

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <stdexcept>

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

// A folder of the staging folder that could not be made; its text is the user's.
class FolderNotMade : public std::runtime_error {
 public:
  explicit FolderNotMade(const std::string& folder) : std::runtime_error("无法建立目录:" + folder) {}
};

// An entry whose data differ from its digest, or a package that is no longer the one indexed;
// its text names the entry or the package.
class EntryDamaged : public std::runtime_error {
 public:
  explicit EntryDamaged(const std::string& text) : std::runtime_error(text) {}
};

// The package opened again for one writer's reads: the file its index was read from, as long
// as it was then. Another length means another file, whose offsets the index does not know.
std::shared_ptr<tk::TStream> OpenForData(const PackageIndex& package) {
  std::shared_ptr<tk::TStream> source;
  try {
    source = pak::OpenPackageForReading(package.location);
  } catch (const tk::EFOpenError& error) {
    if (!tk::IsFileNotFoundError(error.ErrorCode())) throw;
    throw pak::EPackageMissing(package.location.path, error.ErrorCode());  // gone since it was read
  }
  if (source->Size() != package.packageSize)
    throw EntryDamaged("安装包 \"" + package.location.path + "\" 在读取之后被更改");
  return source;
}

// One writer of staging: the package opened for reading of its own, a hash of its own, and the
// folder it made last. Writes the entries it is handed into the staging folder, each checked
// against its digest as its bytes pass; one that differs is removed again.
class EntryWriter {
 public:
  EntryWriter(const PackageIndex& package, const std::string& stagingFolder)
      : source_(OpenForData(package)),
        digest_(std::make_shared<tk::Sha256>()),
        stagingFolder_(stagingFolder),
        package_(package) {}

  void operator()(int i) {
    const PackageEntry& entry = package_.entries[i];
    const std::string destination = stagingFolder_ + entry.path;
    const std::string folder = FolderPart(destination);
    // Entries come folder by folder: a folder found or made is not looked up again. Another
    // writer may make the same folder at the same time; ForceFolders is content when it exists.
    if (folder != readyFolder_) {
      if (!FolderExists(folder) && !ForceFolders(folder)) throw FolderNotMade(folder);
      readyFolder_ = folder;
    }
    if (!entry.file) return;
    {
      tk::TFileStream target(destination, tk::FileMode::Create);  // closed on every path
      source_->SetPosition(entry.offset);
      if (entry.size != 0) target.CopyFrom(*source_, entry.size, digest_.get());
    }
    if (!package_.EntryMatches(i, *digest_)) {
      DeleteFileW(tk::ToWide(destination).c_str());
      throw EntryDamaged(package_.MismatchText(i));
    }
  }

 private:
  // Shared by the copies a std::function makes.
  std::shared_ptr<tk::TStream> source_;
  std::shared_ptr<tk::Sha256> digest_;  // Finish starts it afresh for the next entry
  std::string stagingFolder_;
  const PackageIndex& package_;
  std::string readyFolder_;
};

// The result as the writers' work is taken in package order: the list of files, the display,
// and the first failure, as one writer would leave them.
class StagedEntries {
 public:
  StagedEntries(const PackageIndex& package, const std::string& stagingFolder, Progress* progress,
                StagingResult& staged)
      : package_(package), stagingFolder_(stagingFolder), progress_(progress), staged_(staged) {}

  // False, with the failure in the result, when entry i failed.
  bool Take(int i, std::exception_ptr error) {
    const PackageEntry& entry = package_.entries[i];
    if (error) {
      Fail(entry.path, error);
      return false;
    }
    if (entry.file) staged_.files.push_back(entry.path);
    if (progress_) {
      progress_->Status("开始解压......");
      progress_->Line("..\\" + entry.path);
      progress_->Advance();
    }
    walk::KeepResponsive();
    return true;
  }

 private:
  void Fail(const std::string& name, std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const FolderNotMade& problem) {
      Set(StagingResult::CannotWrite, problem.what());
    } catch (const EntryDamaged& problem) {
      Set(StagingResult::PackageDamaged, problem.what());
    } catch (const tk::EReadError& problem) {
      Set(StagingResult::PackageDamaged, name + ": " + problem.what());
    } catch (const tk::EStreamError& problem) {
      Set(StagingResult::CannotWrite, stagingFolder_ + name + ": " + problem.what());
    } catch (const std::exception& problem) {
      Set(StagingResult::PackageDamaged, name + ": " + problem.what());
    }
  }
  void Set(StagingResult::Kind kind, const std::string& detail) { staged_ = {kind, detail}; }

  const PackageIndex& package_;
  const std::string& stagingFolder_;
  Progress* progress_;
  StagingResult& staged_;
};

// What the result says of the package, from its index.
StagingResult StagedFrom(const PackageIndex& package) {
  StagingResult staged;
  staged.version = package.version;
  staged.date = package.date;
  staged.entryCount = package.Count();
  staged.packageBytes = package.dataBytes;
  staged.products = package.products;
  return staged;
}

StagingResult NotStaged(const PackageIndex& package) {
  switch (package.kind) {
    case PackageIndex::Missing:
      return {StagingResult::PackageMissing, package.detail};
    case PackageIndex::Refused:
      return {StagingResult::PackageRefused, package.detail};
    default:
      return {StagingResult::PackageDamaged, package.detail};
  }
}

}  // namespace

std::vector<std::string> StagingResult::RootFiles() const {
  std::vector<std::string> root;
  for (const std::string& file : files)
    if (TopFolderOf(file).empty()) root.push_back(file);
  return root;
}

StagingResult UnpackPackage(const PackageIndex& package, const std::string& stagingFolder, Progress* progress,
                            int writers) {
  if (!package.Usable()) return NotStaged(package);
  StagingResult staged = StagedFrom(package);
  if (progress) {
    progress->Range(package.Count());
    progress->Note(package.trustNote);
  }
  // Written only into a folder made anew, which nobody else controls and no link leads out of.
  const std::string notMade = MakeFreshPrivateFolder(stagingFolder);
  if (!notMade.empty()) return {StagingResult::CannotWrite, notMade};
  StagedEntries taken(package, stagingFolder, progress, staged);
  try {
    RunOrdered(
        package.Count(), writers, [&] { return ItemJob(EntryWriter(package, stagingFolder)); },
        [&](int i, std::exception_ptr error) { return taken.Take(i, error); });
  } catch (const pak::EPackageMissing&) {
    return {StagingResult::PackageMissing, package.location.path};
  } catch (const std::exception& problem) {
    // A writer could not open the package for itself, or found another file there.
    return {StagingResult::PackageDamaged, problem.what()};
  }
  return staged;
}

}  // namespace pub
