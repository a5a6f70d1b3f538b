// Where this run's package lies. Every reader of the package (its version, its size once
// unpacked, its ports, staging, the wizard's first look) opens the one answer given here.
#pragma once

#include <string>

#include "pak/PakLocation.h"

namespace pub {

// Setup.pak in setupFolder (the program's folder, ending in '\') when it is there; otherwise the package the program file itself
// carries (common/portable/EmbeddedPackage.h); otherwise Setup.pak beside the program, which is
// missing, so that it is what the user is told of.
pak::PackageLocation LocatePackage(const std::string& setupFolder);

}  // namespace pub
