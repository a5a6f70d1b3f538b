// Removing the registration an MSI left when it installed us: the MSI hides its own uninstall
// entry, so a removal through ours must take the MSI's registration with it. Decided as a value:
// the product code read from the registry, the command that removes it, what its exit code means.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/portable/ToolCommand.h"

namespace pub {

// How long msiexec may take to unregister the product: it removes two files and some keys, but
// waits first for any other installation on the machine to finish.
constexpr unsigned kMsiRemovalSeconds = 300;

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with hexadecimal digits, as Windows Installer writes
// product codes. Anything else in the value is refused, never passed to msiexec.
bool IsProductCode(const std::string& text);

// systemFolder\msiexec.exe /x {code} /qn, with no user interface and nothing restarted; none for
// a value that is no product code.
std::optional<ToolCommand> MsiRemovalCommand(const std::string& systemFolder, const std::string& productCode);

// 0 and the two "restart needed" codes are done; 1605 (this product is not installed) means it
// was already gone, which is what was wanted too.
bool MsiRemovalSucceeded(uint32_t exitCode);

}  // namespace pub
