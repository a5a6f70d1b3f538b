#include "tools/quarnpak/PakWriter.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "pak/PakDirectory.h"
#include "pak/PakFields.h"
#include "pak/PakHeader.h"
#include "toolkit/core/MemoryStream.h"
#include "toolkit/core/Errors.h"
#include "tools/quarnpak/DigestBlockMaker.h"
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

// Copies exactly the planned bytes of one file and returns their digest; a file that shrank or
// grew since the tree was walked would make the directory lie, so it is refused.
tk::Sha256Digest CopySource(const PlannedEntry& entry, PathFile* out) {
  PathFile source(entry.source, PathFile::Mode::Read);
  tk::Sha256 digest;
  try {
    out->CopyFrom(source, static_cast<int64_t>(entry.size), &digest);
  } catch (const tk::EReadError&) {
    throw ToolError("cannot read " + ShowPath(entry.source) + " whole (" + source.FailureReason() +
                    "); did it change while the archive was written?");
  } catch (const tk::EWriteError&) {
    throw ToolError("cannot write " + ShowPath(out->Path()) + ": " + out->FailureReason());
  }
  char extra;
  if (source.Read(&extra, 1) != 0)
    throw ToolError(ShowPath(entry.source) + " grew while the archive was written");
  return digest.Finish();
}

void MakeHeader(const ArchivePlan& plan, uint32_t directoryOffset, pak::TkexPakHeader* header) {
  pak::SetFieldText(header->Version, pak::kVersionSize, plan.version);
  pak::SetFieldText(header->Description, pak::kDescriptionSize, plan.description);
  header->SetEntryCount(static_cast<uint32_t>(plan.entries.size()));
  header->SetDirectoryOffset(directoryOffset);
}

// Writes bytes whole; the plain writes are checked when the file is closed.
void WriteBytes(const std::string& bytes, PathFile* file) {
  for (size_t done = 0; done < bytes.size();) {
    int32_t count = static_cast<int32_t>(std::min<size_t>(bytes.size() - done, tk::TStream::kMaxCopyChunk));
    file->Write(bytes.data() + done, count);
    done += static_cast<size_t>(count);
  }
}

}  // namespace

uint64_t WriteArchive(const ArchivePlan& plan, const fs::path& out, const SigningKey* key) {
  uint64_t directoryOffset = plan.archiveSize - static_cast<uint64_t>(plan.entries.size()) * pak::kEntrySize;
  fs::path temporaryName = out.filename();
  temporaryName += ".part-" + std::to_string(QP_GETPID());
  TemporaryFile temporary(out.parent_path() / temporaryName);
  uint64_t archiveSize = 0;
  {
    PathFile file(temporary.Path(), PathFile::Mode::Create);
    pak::TkexPakHeader header;  // the defaults of a new archive, created now
    MakeHeader(plan, static_cast<uint32_t>(directoryOffset), &header);
    header.SaveToStream(file);

    pak::TkexPakDirectory directory;
    std::vector<tk::Sha256Digest> digests;
    digests.reserve(plan.entries.size());
    uint64_t offset = pak::kHeaderSize;
    for (const PlannedEntry& entry : plan.entries) {
      auto item = std::make_unique<pak::TkexPakDirectoryItem>();
      pak::SetFieldText(item->Name, pak::kNameSize, entry.name);
      item->Kind = entry.kind;
      item->DataOffset = static_cast<uint32_t>(offset);
      item->DataSize = static_cast<uint32_t>(entry.size);
      digests.push_back(entry.size != 0 ? CopySource(entry, &file) : tk::Sha256Of(""));
      offset += entry.size;
      directory.Items.push_back(std::move(item));
    }
    directory.SaveToStream(file);
    tk::TMemoryStream index;  // the header and directory as written, for the digest block
    header.SaveToStream(index);
    directory.SaveToStream(index);
    std::string block = MakeDigestBlock(std::move(digests), index.Bytes(), key);
    WriteBytes(block, &file);
    archiveSize = plan.archiveSize + block.size();
    // The plain writes of header and directory are checked here, with every buffered byte.
    file.Close();
  }
  std::error_code ec;
  fs::rename(temporary.Path(), out, ec);
  if (ec) throw ToolError("cannot write " + ShowPath(out) + ": " + ec.message());
  temporary.Keep();
  return archiveSize;
}

}  // namespace qp
