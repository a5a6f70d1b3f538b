// The ports the services of Setup.pak will listen on, read from the package before anything
// is unpacked.
#pragma once

#include <vector>

#include "setup/portable/PortCheck.h"
#include "pak/PakLocation.h"

namespace pub {

// Opens the package for reading only, for the entry names and the text of
// MySQL5/my.ini. A package that cannot be read gives no ports: staging then says what is wrong
// with it.
std::vector<PlannedPort> PackagePorts(const pak::PackageLocation& package);

}  // namespace pub
