// The archive object: holds one archive file open and unshared from construction to
// destruction, keeps its header and directory in memory, extracts entries to files, and writes
// header and directory back when destroyed (byte for byte what was read, for an intact archive).
#pragma once

#include <memory>
#include <string>

#include "pak/PakDirectory.h"
#include "pak/PakHeader.h"
#include "toolkit/core/Component.h"
#include "toolkit/core/FileStream.h"

namespace pak {

class TkexPak : public tk::Component {
 public:
  // Opens the archive at fileName, or creates it as an empty archive when no file is there.
  // Raises EFOpenError / EFCreateError; nothing is written to any file then.
  TkexPak(tk::Component* owner, const std::string& fileName);
  ~TkexPak() override;

  // Writes the data of entry index to destination (created, or emptied, unshared).
  // EListError for a bad index, EFCreateError, EReadError when the archive ends before the
  // data do, EWriteError; the destination is closed in every case.
  void ExtractEntry(int32_t index, const std::string& destination);

  const std::string FileName;
  std::unique_ptr<tk::TFileStream> Stream;
  std::unique_ptr<TkexPakHeader> Header;
  std::unique_ptr<TkexPakDirectory> Directory;

 private:
  // Header and directory back to the file with plain writes; nothing is truncated.
  void Flush();
};

}  // namespace pak
