#include "tools/quarnpak/ArchiveReader.h"

#include "pak/PakGlobals.h"
#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"

namespace qp {

ArchiveReader::ArchiveReader(const std::filesystem::path& path)
    : file_(path, PathFile::Mode::Read), fileSize_(static_cast<uint64_t>(file_.Size())) {
  if (fileSize_ < static_cast<uint64_t>(pak::kHeaderSize))
    throw ToolError(ShowPath(path) + " is no archive: " + std::to_string(fileSize_) + " bytes, shorter than the " +
                    std::to_string(pak::kHeaderSize) + "-byte header");
  file_.SetPosition(0);
  header_.LoadFromStream(file_);
}

void ArchiveReader::LoadDirectory() {
  uint32_t count = header_.EntryCount;
  if (count > pak::kMaxEntries)
    throw ToolError("damaged archive " + ShowPath(file_.Path()) + ": the header counts " + std::to_string(count) +
                    " entries; at most " + std::to_string(pak::kMaxEntries) + " are possible");
  if (count == 0) return;
  // 64-bit arithmetic: offset and size together may pass 4 GiB.
  uint64_t end = uint64_t{header_.DirectoryOffset} + uint64_t{count} * pak::kEntrySize;
  if (end > fileSize_)
    throw ToolError("damaged archive " + ShowPath(file_.Path()) + ": the directory (" + std::to_string(count) +
                    " entries at offset " + std::to_string(header_.DirectoryOffset) +
                    ") runs past the end of the file (" + std::to_string(fileSize_) + " bytes)");
  file_.SetPosition(header_.DirectoryOffset);
  directory_.LoadFromStream(file_, static_cast<uint16_t>(count));
}

}  // namespace qp
