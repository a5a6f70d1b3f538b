#include "tools/quarnpak/PakWriter.h"

#include <memory>

#include "pak/PakDirectory.h"
#include "pak/PakFields.h"
#include "pak/PakHeader.h"
#include "toolkit/core/Errors.h"
#include "tools/quarnpak/PathFile.h"
#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"

#ifdef _WIN32
#include <process.h>
#define QP_GETPID _getpid
#else
#include <unistd.h>
#define QP_GETPID getpid
#endif

namespace fs = std::filesystem;

namespace qp {
namespace {

// Removes the temporary file unless the archive was completed.
class TemporaryFile {
 public:
  explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    std::error_code ec;
    if (!kept_) fs::remove(path_, ec);
  }
  const fs::path& Path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  fs::path path_;
  bool kept_ = false;
};

// Copies exactly the planned bytes of one file; a file that shrank or grew since the tree was
// walked would make the directory lie, so it is refused.
void CopySource(const PlannedEntry& entry, PathFile* out) {
  PathFile source(entry.source, PathFile::Mode::Read);
  try {
    out->CopyFrom(source, static_cast<int64_t>(entry.size));
  } catch (const tk::EReadError&) {
    throw ToolError("cannot read " + ShowPath(entry.source) + " whole (" + source.FailureReason() +
                    "); did it change while the archive was written?");
  } catch (const tk::EWriteError&) {
    throw ToolError("cannot write " + ShowPath(out->Path()) + ": " + out->FailureReason());
  }
  char extra;
  if (source.Read(&extra, 1) != 0)
    throw ToolError(ShowPath(entry.source) + " grew while the archive was written");
}

void WriteHeader(const ArchivePlan& plan, uint32_t directoryOffset, PathFile* file) {
  pak::TkexPakHeader header;  // the defaults of a new archive, created now
  pak::SetFieldText(header.Version, pak::kVersionSize, plan.version);
  pak::SetFieldText(header.Description, pak::kDescriptionSize, plan.description);
  header.SetEntryCount(static_cast<uint32_t>(plan.entries.size()));
  header.SetDirectoryOffset(directoryOffset);
  header.SaveToStream(*file);
}

}  // namespace

void WriteArchive(const ArchivePlan& plan, const fs::path& out) {
  uint64_t directoryOffset = plan.archiveSize - static_cast<uint64_t>(plan.entries.size()) * pak::kEntrySize;
  fs::path temporaryName = out.filename();
  temporaryName += ".part-" + std::to_string(QP_GETPID());
  TemporaryFile temporary(out.parent_path() / temporaryName);
  {
    PathFile file(temporary.Path(), PathFile::Mode::Create);
    WriteHeader(plan, static_cast<uint32_t>(directoryOffset), &file);

    pak::TkexPakDirectory directory;
    uint64_t offset = pak::kHeaderSize;
    for (const PlannedEntry& entry : plan.entries) {
      auto item = std::make_unique<pak::TkexPakDirectoryItem>();
      pak::SetFieldText(item->Name, pak::kNameSize, entry.name);
      item->Kind = entry.kind;
      item->DataOffset = static_cast<uint32_t>(offset);
      item->DataSize = static_cast<uint32_t>(entry.size);
      if (entry.size != 0) CopySource(entry, &file);
      offset += entry.size;
      directory.Items.push_back(std::move(item));
    }
    directory.SaveToStream(file);
    // The plain writes of header and directory are checked here, with every buffered byte.
    file.Close();
  }
  std::error_code ec;
  fs::rename(temporary.Path(), out, ec);
  if (ec) throw ToolError("cannot write " + ShowPath(out) + ": " + ec.message());
  temporary.Keep();
}

}  // namespace qp
