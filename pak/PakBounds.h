// Checks that every part the archive object reads lies inside the file, so that a damaged
// archive opened for reading raises EPackageDamaged before anything is read from outside it or
// sized from it. Offsets and sizes are added in 64 bits: no 32-bit wrap-around hides a part.
#pragma once

#include <cstdint>
#include <string>

#include "pak/PakDirectory.h"
#include "pak/PakHeader.h"

namespace pak {

// The 115-byte header fits.
void CheckHeaderFits(const std::string& fileName, int64_t fileSize);
// At most 65,535 entries, and the directory they take fits.
void CheckDirectoryFits(const std::string& fileName, const TkexPakHeader& header, int64_t fileSize);
// The data of every entry that unpacking reads (kind 0, not empty) fit; an empty entry, or one
// of another kind, reads nothing whatever its offset.
void CheckEntryDataFits(const std::string& fileName, const TkexPakDirectory& directory, int64_t fileSize);

}  // namespace pak
