// An archive opened for reading only: unlike the archive object, which writes header and
// directory back when it is destroyed, inspecting or unpacking with this changes no byte.
#pragma once

#include <cstdint>
#include <filesystem>

#include "pak/PakDirectory.h"
#include "pak/PakHeader.h"
#include "tools/quarnpak/PathFile.h"

namespace qp {

class ArchiveReader {
 public:
  // Reads the header. ToolError when the file cannot be opened or is shorter than a header.
  explicit ArchiveReader(const std::filesystem::path& path);

  // Reads the directory. ToolError when the header counts more than 65,535 entries or the
  // directory runs past the end of the file.
  void LoadDirectory();

  const pak::TkexPakHeader& Header() const { return header_; }
  const pak::TkexPakDirectory& Directory() const { return directory_; }
  uint64_t FileSize() const { return fileSize_; }
  PathFile& File() { return file_; }

 private:
  PathFile file_;
  uint64_t fileSize_;
  pak::TkexPakHeader header_;
  pak::TkexPakDirectory directory_;
};

}  // namespace qp
