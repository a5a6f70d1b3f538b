// Staging: the whole package unpacked into the staging folder, and what it learned of the
// package on the way (version, date, products, counts, bytes) handed back in its result.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/portable/Progress.h"
#include "common/win/PackageDigest.h"
#include "pak/PakLocation.h"
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
  // What the package says of itself; filled once it could be opened.
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

// The version of the package, read from its header without unpacking; empty when it cannot be
// read.
std::string PackageVersion(const pak::PackageLocation& package);

// The room the package's entries take once unpacked, each file rounded up to a 4 KiB cluster;
// 0 when the package cannot be read (staging then says why).
uint64_t UnpackedPackageSize(const pak::PackageLocation& package);

// How many files staging writes at once: creating and closing a file waits on the system, and
// writers that overlap those waits stage faster than one writer alone.
constexpr int kStagingWriters = 2;

// Opens the package (pub::LocatePackage() tells where it lies) for reading only and extracts every
// entry into stagingFolder (ending in '\'), made anew, with `writers` writers at once (each reading
// the package through a handle of its own), reporting one status text, log line and step per entry
// in package order (progress may be null), on the caller's thread. Every entry name, and the
// package's digest block against makerKey (the maker's public key built into the program, none in a
// development build), are checked before anything is written; each entry's data are checked against
// its digest as they are written, and an entry that differs is removed again. The first entry that
// fails in package order is the failure returned. The package is let go before returning, whatever
// the outcome, so a later staging in the same process can open it again; it is never written to,
// and never created when it is missing.
StagingResult UnpackPackage(const pak::PackageLocation& package, const std::string& stagingFolder, Progress* progress,
                            const std::string& makerKey = EmbeddedMakerKey(), int writers = kStagingWriters);

}  // namespace pub
