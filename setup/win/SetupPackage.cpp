#include "setup/win/SetupPackage.h"

#include "common/win/PackageDigest.h"

namespace setup {

std::shared_ptr<const pub::PackageIndex> ReadSetupPackage(const pak::PackageLocation& location) {
  std::string makerKey;
  try {
    makerKey = pub::EmbeddedMakerKey();
  } catch (const std::exception& error) {
    auto refused = std::make_shared<pub::PackageIndex>();
    refused->kind = pub::PackageIndex::Refused;
    refused->detail = error.what();
    refused->location = location;
    return refused;
  }
  return std::make_shared<const pub::PackageIndex>(pub::ReadPackageIndex(location, makerKey, {kDatabaseOptionFile}));
}

}  // namespace setup

namespace pub {

std::vector<PlannedPort> PackagePorts(const PackageIndex& package) {
  if (!package.Usable()) return {};
  std::vector<std::string> names;
  for (const PackageEntry& entry : package.entries) names.push_back(entry.name);
  const std::string* myIni = package.Text(setup::kDatabaseOptionFile);
  return PortsOfPackage(names, myIni ? std::optional<std::string>(*myIni) : std::nullopt);
}

}  // namespace pub
