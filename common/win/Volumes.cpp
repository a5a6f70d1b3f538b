// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-getvolumepathnamew
#include "common/win/Volumes.h"

#include <windows.h>

#include "toolkit/core/CodePage.h"

namespace pub {

std::wstring VolumeRoot(const std::string& folder) {
  std::wstring wide = tk::ToWide(folder);
  wchar_t root[MAX_PATH];
  if (GetVolumePathNameW(wide.c_str(), root, MAX_PATH)) return root;
  return wide.size() >= 3 ? wide.substr(0, 3) : wide;
}

bool OnOneVolume(const std::string& first, const std::string& second) {
  return _wcsicmp(VolumeRoot(first).c_str(), VolumeRoot(second).c_str()) == 0;
}

}  // namespace pub
