#include "pak/PakLocation.h"

#include "toolkit/core/FileStream.h"
#include "toolkit/core/StreamWindow.h"

namespace pak {

std::unique_ptr<tk::TStream> OpenPackageForReading(const PackageLocation& location) {
  auto file = std::make_unique<tk::TFileStream>(location.path, tk::FileMode::OpenRead);
  if (!location.InsideAnotherFile()) return file;
  return std::make_unique<tk::TStreamWindow>(std::move(file), location.offset, location.size);
}

}  // namespace pak
