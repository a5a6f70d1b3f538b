// Opening an address with the shell (the default browser for a web address), through a seam:
// tests install an opener that records the address instead.
// https://learn.microsoft.com/windows/win32/api/shellapi/nf-shellapi-shellexecuteexw
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tk {

// Opens address for owner, starting what it starts in folder; "" when the shell took it,
// otherwise the reason (GBK).
using AddressOpener = std::function<std::string(HWND owner, const std::string& address, const std::wstring& folder)>;

// Installs an opener (none restores the shell); returns the one it replaces.
AddressOpener SetAddressOpener(AddressOpener opener);

// Asks the shell to open the address (no verb or parameters; shown normally), without a box
// of the shell's own. The program it starts (a browser that may run for days) starts in the
// system folder, never in this program's current folder, which may lie in a folder that a
// removal will delete. "" when the shell took the address; otherwise the system's reason.
std::string OpenAddress(HWND owner, const std::string& address);

}  // namespace tk
