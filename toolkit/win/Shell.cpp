#include "toolkit/win/Shell.h"

#include <shellapi.h>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace tk {
namespace {

AddressOpener& Opener() {
  static AddressOpener opener;
  return opener;
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH + 1);
  return length == 0 || length > MAX_PATH ? std::wstring() : std::wstring(folder, length);
}

std::string ShellOpen(HWND owner, const std::string& address, const std::wstring& folder) {
  const std::wstring wide = ToWide(address);
  SHELLEXECUTEINFOW open = {};
  open.cbSize = sizeof open;
  // The caller says what went wrong, in its own words; the shell's box would come first.
  open.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  open.hwnd = owner;
  open.lpFile = wide.c_str();
  open.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  open.nShow = SW_SHOWNORMAL;
  if (ShellExecuteExW(&open)) return std::string();
  return SysErrorMessage(GetLastError());
}

}  // namespace

AddressOpener SetAddressOpener(AddressOpener opener) {
  AddressOpener previous = std::move(Opener());
  Opener() = std::move(opener);
  return previous;
}

std::string OpenAddress(HWND owner, const std::string& address) {
  const std::wstring folder = SystemFolder();
  return Opener() ? Opener()(owner, address, folder) : ShellOpen(owner, address, folder);
}

}  // namespace tk
