// The list of placed files on disk, and the facts of a file it is compared with.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "setup/portable/PlacedFiles.h"

namespace pub {

// Size and last-write time of a file; nullopt when there is no file there (or a folder).
std::optional<FileFacts> FactsOf(const std::string& path);

// The list of the installation in installFolder; nullopt when there is none, or it cannot be
// read as one.
std::optional<std::vector<PlacedFile>> ReadPlacedFiles(const std::string& installFolder);

// Writes the list whole or not at all (a new file renamed over the old one); false, with the
// system's reason, when it cannot.
bool WritePlacedFiles(const std::string& installFolder, const std::vector<PlacedFile>& files, std::string* reason);

}  // namespace pub
