// Staging: the whole package unpacked into the staging folder, and which package it staged
// (version, date, products, counts, bytes) handed back in its result.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/portable/Progress.h"
#include "common/portable/PackageIndex.h"
#include "toolkit/core/DateTime.h"

namespace pub {

// How staging ended, and for a failure what the user is told beyond its kind.
struct StagingResult {
  enum Kind {
    Done,
    PackageMissing,  // no package where it was looked for
    PackageDamaged,  // it cannot be read as an archive, an entry is unsafe or out of bounds, or
                     // an entry's data differ from its digest
    PackageRefused,  // its digest block is damaged, or it is not signed by the maker the
                     // program knows; nothing was written
    CannotWrite,     // a folder or file of the staging folder could not be made or written
  };
  Kind kind = Done;
  std::string detail;  // the entry or file concerned and the system's reason
  std::vector<std::string> files;  // the staged files, '\'-separated, relative, in package order
  // What the package says of itself, from its index; filled once it was read.
  std::string version;
  tk::TDateTime date = 0;
  int32_t entryCount = 0;     // every entry, folders included
  uint64_t packageBytes = 0;  // the data of every entry
  // The top folders of the entries in the order first met, each once whatever its case.
  std::vector<std::string> products;
  bool Succeeded() const { return kind == Done; }
  // The staged files right in the package's root, in no product folder, in package order.
  std::vector<std::string> RootFiles() const;
};

// How many files staging writes at once: creating and closing a file waits on the system, and
// writers that overlap those waits stage faster than one writer alone.
constexpr int kStagingWriters = 2;

// Unpacks every entry of the package, as its index was read and judged, into stagingFolder
// (made anew with its protected access list first; whatever stood there goes) with `writers`
// writers at once, each reading the package through a handle of its own, reporting one status
// text, log line and step per entry in package order (progress may be null), on the caller's
// thread. A package whose index was not read is refused as the index says, with nothing
// written. Each entry's data are checked against its digest as they are written, and an entry
// that differs is removed again; a package that changed since its index was read is damaged.
// The first entry that fails in package order is the failure returned. The package is let go
// before returning, whatever the outcome; it is never written to.
StagingResult UnpackPackage(const PackageIndex& package, const std::string& stagingFolder, Progress* progress,
                            int writers = kStagingWriters);

}  // namespace pub
