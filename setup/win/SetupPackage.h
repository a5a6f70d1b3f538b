// This bundle's package, read once per run into its index (common/portable/PackageIndex.h),
// and the ports its services will listen on, found in that index.
#pragma once

#include <memory>
#include <vector>

#include "common/portable/PackageIndex.h"
#include "setup/portable/PortCheck.h"
#include "pak/PakLocation.h"

namespace setup {

// The option file whose text the port check reads, as the package stores its name.
constexpr const char* kDatabaseOptionFile = "MySQL5/my.ini";

// The package at location read and judged with the maker's key built into the program, with
// the text of the database's option file. A key resource that is no key refuses the package.
std::shared_ptr<const pub::PackageIndex> ReadSetupPackage(const pak::PackageLocation& location);

}  // namespace setup

namespace pub {

// The ports the services of the package will listen on. A package that could not be read gives
// none: staging then says what is wrong with it.
std::vector<PlannedPort> PackagePorts(const PackageIndex& package);

}  // namespace pub
