// Unpacks an archive whose entries passed CheckEntries into a folder of its own.
#pragma once

#include <cstddef>
#include <filesystem>

#include "tools/quarnpak/ArchiveReader.h"

namespace qp {

struct ExtractCounts {
  size_t files = 0;
  size_t folders = 0;  // entries of other kinds than 0, which unpack as their folder only
};

// ToolError unless target is missing or an empty folder: unpacking never overwrites or mixes
// with what is there, and cannot be led elsewhere by links already inside the target.
void CheckExtractTarget(const std::filesystem::path& target);

// Creates target and unpacks every entry in directory order. A kind 0 entry becomes a file
// holding its data; an entry of another kind creates the folder of its name (all of "name/",
// or up to the last separator) and no file. ToolError, naming the entry, when a folder or file
// cannot be written; the file being written then is removed, none is left half-written.
ExtractCounts ExtractArchive(ArchiveReader* archive, const std::filesystem::path& target);

}  // namespace qp
