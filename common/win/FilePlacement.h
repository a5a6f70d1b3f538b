// Putting a staged tree in place. Within one volume each file is renamed into place, so its
// bytes are not written a second time and the staging folder is left all but empty; across
// volumes each file is copied. What a person sees is the same either way.
#pragma once

#include <string>
#include <vector>

#include "common/win/FileTree.h"

namespace pub {

enum class Placement { Move, Copy };

// How files get from the source folder to the destination: moved when both are on one volume,
// copied otherwise. Decided once, before the room for a run is counted, and then given to
// every placing of that run, so the room counted and the walk done agree.
Placement PlacementBetween(const std::string& source, const std::string& destination);

// Puts every file of the source tree at the same place under destination, moved or copied as
// placement says; reports like CopyFolderTree. True when all arrived.
bool PlaceFolderTree(const std::string& source, const std::string& destination, Placement placement,
                     Progress* progress, std::vector<CopyFailure>* failures);

// One file put at target, replacing what is there, moved or copied as placement says; 0 or
// the system's error code.
unsigned long PlaceFile(const std::string& source, const std::string& target, Placement placement);

}  // namespace pub
