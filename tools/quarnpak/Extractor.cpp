#include "tools/quarnpak/Extractor.h"

#include "pak/PakGlobals.h"
#include "toolkit/core/Errors.h"
#include "common/portable/EntryNames.h"
#include "tools/quarnpak/PathFile.h"
#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"

namespace fs = std::filesystem;

namespace qp {
namespace {

void CreateFolders(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw ToolError("cannot create folder " + ShowPath(folder) + ": " + ec.message());
}

// The equivalent of the archive object's ExtractEntry over the read-only archive: the same
// chunked copy of DataSize bytes from DataOffset, and an empty file for DataSize 0.
void ExtractFile(ArchiveReader* archive, const pak::TkexPakDirectoryItem& item, const fs::path& destination) {
  try {
    PathFile out(destination, PathFile::Mode::Create);
    PathFile& source = archive->File();
    source.SetPosition(item.DataOffset);
    try {
      if (item.DataSize != 0) out.CopyFrom(source, item.DataSize);
    } catch (const tk::EReadError&) {
      throw ToolError("cannot read the archive: " + source.FailureReason());
    } catch (const tk::EWriteError&) {
      throw ToolError("cannot write " + ShowPath(destination) + ": " + out.FailureReason());
    }
    out.Close();
  } catch (const ToolError&) {
    std::error_code ec;
    fs::remove(destination, ec);
    throw;
  }
}

}  // namespace

void CheckExtractTarget(const fs::path& target) {
  std::error_code ec;
  fs::file_status status = fs::symlink_status(target, ec);
  if (!fs::exists(status)) return;
  if (!fs::is_directory(status))
    throw ToolError(ShowPath(target) + " exists and is not a folder; nothing extracted");
  if (!fs::is_empty(target, ec) || ec)
    throw ToolError(ShowPath(target) + " is not empty; extract into a new or empty folder; nothing extracted");
}

ExtractCounts ExtractArchive(ArchiveReader* archive, const fs::path& target) {
  ExtractCounts counts;
  try {
    CreateFolders(target);
  } catch (const ToolError& error) {
    throw ToolError(std::string("target: ") + error.what());
  }
  const pak::TkexPakDirectory& directory = archive->Directory();
  for (int32_t i = 0; i < directory.Count(); ++i) {
    const pak::TkexPakDirectoryItem& item = directory.Item(i);
    pub::EntryName name = pub::ParseEntryName(item.NameText(), item.Kind);
    fs::path path = target;
    for (const std::string& part : name.components) path /= fs::u8path(part);
    try {
      if (item.Kind == pak::kKindFile) {
        CreateFolders(path.parent_path());
        ExtractFile(archive, item, path);
        ++counts.files;
      } else {
        CreateFolders(name.endsInSeparator ? path : path.parent_path());
        ++counts.folders;
      }
    } catch (const ToolError& error) {
      throw ToolError(EntryLabel(i, item.NameText()) + ": " + error.what());
    }
  }
  return counts;
}

}  // namespace qp
