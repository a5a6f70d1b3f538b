#include "toolkit/win/Shell.h"

#include <shellapi.h>

#include "toolkit/core/CodePage.h"

namespace tk {
namespace {

AddressOpener& Opener() {
  static AddressOpener opener;
  return opener;
}

}  // namespace

AddressOpener SetAddressOpener(AddressOpener opener) {
  AddressOpener previous = std::move(Opener());
  Opener() = std::move(opener);
  return previous;
}

void OpenAddress(HWND owner, const std::string& address) {
  if (Opener()) {
    Opener()(owner, address);
    return;
  }
  ShellExecuteW(owner, nullptr, ToWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tk
