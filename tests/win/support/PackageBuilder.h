// Packages for tests of the installation engine: files and folders given by name and content,
// laid out with the archive's tables by the hand-made writer of the archive tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct PackageFile {
  std::string name;  // '/'-separated, GBK
  std::string content;
  uint16_t kind = 0;
};

std::string BuildPackage(const std::vector<PackageFile>& files, const std::string& version = "2.0.0",
                         double created = 46000.5);
// The same package with an unsigned digest block after its directory, as quarnpak writes it.
std::string BuildPackageWithDigests(const std::vector<PackageFile>& files);

}  // namespace testing_support
