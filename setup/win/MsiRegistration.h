// An installation an MSI made: the MSI writes its product code under kMsiKey and hides its own
// uninstall entry, so ours is the only one. A removal through ours unregisters the MSI too.
// The MSI deletes the value before it runs our uninstaller itself, so that removal does not
// call back into the MSI that is running it.
#pragma once

#include <string>

#include "common/portable/Progress.h"

namespace setup {

constexpr const char* kMsiKey = "\\Software\\quarn-msi";

// Unregisters the MSI named under kMsiKey, if any, through msiexec with its bound, each step in
// progress's log. "" when there was none or it is gone now; otherwise why it stays (GBK).
std::string UnregisterInstallingMsi(pub::Progress& progress);

}  // namespace setup
