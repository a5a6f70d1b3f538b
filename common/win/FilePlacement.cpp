#include "common/win/FilePlacement.h"

#include <windows.h>

#include "common/win/Volumes.h"
#include "toolkit/core/CodePage.h"

namespace pub {

Placement PlacementBetween(const std::string& source, const std::string& destination) {
  return OnOneVolume(source, destination) ? Placement::Move : Placement::Copy;
}

bool PlaceFolderTree(const std::string& source, const std::string& destination, Placement placement,
                     Progress* progress, std::vector<CopyFailure>* failures) {
  if (placement == Placement::Move) return MoveFolderTree(source, destination, progress, failures);
  return CopyFolderTree(source, destination, progress, failures);
}

unsigned long PlaceFile(const std::string& source, const std::string& target, Placement placement) {
  const std::wstring from = tk::ToWide(source), to = tk::ToWide(target);
  // A move that meets another volume after all still arrives, as a copy.
  const BOOL placed = placement == Placement::Move
                          ? MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)
                          : CopyFileW(from.c_str(), to.c_str(), FALSE);
  return placed ? ERROR_SUCCESS : GetLastError();
}

}  // namespace pub
