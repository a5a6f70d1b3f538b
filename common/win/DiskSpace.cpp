// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-getdiskfreespaceexw
#include "common/win/DiskSpace.h"

#include <windows.h>

#include <map>

#include "common/win/Volumes.h"

#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace pub {

std::optional<SpaceShortage> FindSpaceShortage(const std::vector<std::pair<std::string, uint64_t>>& needs) {
  std::map<std::wstring, uint64_t> perVolume;
  for (const auto& [folder, bytes] : needs) {
    // "c:\" and "C:\" are one volume.
    std::wstring root = VolumeRoot(folder);
    CharUpperBuffW(root.data(), static_cast<DWORD>(root.size()));
    perVolume[root] += bytes;
  }
  for (const auto& [volume, needed] : perVolume) {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExW(volume.c_str(), &available, nullptr, nullptr)) continue;
    if (available.QuadPart < needed) return SpaceShortage{tk::FromWide(volume), needed, available.QuadPart};
  }
  return std::nullopt;
}

std::string ByteCountText(uint64_t bytes) {
  const double mib = static_cast<double>(bytes) / (1024.0 * 1024.0);
  if (mib >= 1024.0) return tk::Format("%.1f GB", mib / 1024.0);
  if (mib >= 1.0) return tk::Format("%.1f MB", mib);
  return tk::Format("%.0f KB", static_cast<double>(bytes) / 1024.0);
}

}  // namespace pub
