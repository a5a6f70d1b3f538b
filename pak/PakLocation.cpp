#include "pak/PakLocation.h"

#include <atomic>

#include "toolkit/core/FileStream.h"
#include "toolkit/core/StreamWindow.h"

namespace pak {
namespace {

std::atomic<int> openCount{0};

}  // namespace

int PackageOpenCount() { return openCount.load(); }

std::unique_ptr<tk::TStream> OpenPackageForReading(const PackageLocation& location) {
  ++openCount;
  auto file = std::make_unique<tk::TFileStream>(location.path, tk::FileMode::OpenRead);
  if (!location.InsideAnotherFile()) return file;
  return std::make_unique<tk::TStreamWindow>(std::move(file), location.offset, location.size);
}

}  // namespace pak
