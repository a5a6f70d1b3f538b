// Opening an address with the shell (the default browser for a web address), through a seam:
// tests install an opener that records the address instead.
// https://learn.microsoft.com/windows/win32/api/shellapi/nf-shellapi-shellexecutew
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tk {

using AddressOpener = std::function<void(HWND owner, const std::string& address)>;

// Installs an opener (none restores the shell); returns the one it replaces.
AddressOpener SetAddressOpener(AddressOpener opener);

// Asks the shell to open the address (no verb, parameters or folder; shown normally). The
// shell's answer is not examined.
void OpenAddress(HWND owner, const std::string& address);

}  // namespace tk
