#include "tools/quarnpak/Extractor.h"

#include "toolkit/core/Errors.h"
#include "tools/quarnpak/EntryNames.h"
#include "tools/quarnpak/PathFile.h"
#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"

namespace fs = std::filesystem;

namespace qp {
namespace {

std::string EntryLabel(int32_t index, const std::string& gbkName) {
  return "entry " + std::to_string(index) + " " + Quoted(ShowGbk(gbkName));
}

void CreateFolders(const fs::path& folder, const std::string& label) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw ToolError(label + ": cannot create folder " + ShowPath(folder) + ": " + ec.message());
}

// The equivalent of the archive object's ExtractEntry over the read-only archive: the same
// chunked copy of DataSize bytes from DataOffset, and an empty file for DataSize 0.
void ExtractFile(ArchiveReader* archive, const pak::TkexPakDirectoryItem& item, const fs::path& destination,
                 const std::string& label) {
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
  } catch (const ToolError& error) {
    std::error_code ec;
    fs::remove(destination, ec);
    throw ToolError(label + ": " + error.what());
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
  CreateFolders(target, "target");
  const pak::TkexPakDirectory& directory = archive->Directory();
  for (int32_t i = 0; i < directory.Count(); ++i) {
    const pak::TkexPakDirectoryItem& item = directory.Item(i);
    std::string name = item.NameText();
    std::string label = EntryLabel(i, name);
    std::vector<std::string> parts = NameComponents(name);
    fs::path path = target;
    for (const std::string& part : parts) path /= fs::u8path(part);
    if (item.Kind == 0) {
      CreateFolders(path.parent_path(), label);
      ExtractFile(archive, item, path, label);
      ++counts.files;
    } else {
      CreateFolders(EndsInSeparator(name) ? path : path.parent_path(), label);
      ++counts.folders;
    }
  }
  return counts;
}

}  // namespace qp
