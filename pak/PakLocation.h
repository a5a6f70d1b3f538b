// Where a package lies: a file of its own, or a part of another file (a package carried inside
// the program that installs it). Every reader of the package opens it through this value.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/core/Stream.h"

namespace pak {

struct PackageLocation {
  std::string path;     // the file that holds the package; messages name it
  int64_t offset = 0;   // where the package starts in it
  int64_t size = -1;    // how long the package is; -1: up to the file's end

  bool InsideAnotherFile() const { return size >= 0; }
};

// The package of location opened for reading only, as a stream that starts at the package's
// first byte and ends at its last. EFOpenError as a file stream raises it.
std::unique_ptr<tk::TStream> OpenPackageForReading(const PackageLocation& location);

// How many times this process has opened a package for reading, through the call above (the
// archive object opens it the same way): tests show with it how often a run opens its package.
int PackageOpenCount();

}  // namespace pak
