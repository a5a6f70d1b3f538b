// The archive object: holds one archive file open from construction to destruction, keeps its
// header and directory in memory and extracts entries to files. Opened for updating (the
// default), it holds the file unshared and writes header and directory back when destroyed (byte
// for byte what was read, for an intact archive). Opened for reading, it shares the file with
// other readers only and never writes to it.
#pragma once

#include <memory>
#include <string>

#include "pak/PakDirectory.h"
#include "pak/PakErrors.h"
#include "pak/PakHeader.h"
#include "pak/PakLocation.h"
#include "toolkit/core/Component.h"
#include "toolkit/core/FileStream.h"

namespace pak {

enum class OpenFor {
  // Opens the archive read-write, or creates it as an empty archive when no file is there; a
  // header or directory the file covers only in part keeps default bytes where the file ends.
  // Header and directory are written back when the object is destroyed.
  Updating,
  // Opens an existing archive read-only (a package on a CD, a read-only share, or a file marked
  // read-only). Nothing is ever created or written. Raises EPackageMissing when no file is
  // there, EPackageDamaged when the header, the directory or the data of an entry that
  // ExtractEntry would read do not lie inside the file, EReadError when the file cannot be
  // read, and EFOpenError for any other failure to open.
  Reading,
};

class TkexPak : public tk::Component {
 public:
  // Raises EFOpenError / EFCreateError (and, for reading, the errors above); nothing is written
  // to any file then.
  TkexPak(tk::Component* owner, const std::string& fileName, OpenFor purpose = OpenFor::Updating);
  // Opens the package at location for reading, with the checks and errors of OpenFor::Reading;
  // offsets and sizes are the package's own wherever it lies in its file.
  TkexPak(tk::Component* owner, const PackageLocation& location);
  ~TkexPak() override;

  // Writes the data of entry index to destination (created, or emptied, unshared); with a
  // digest, feeds it the same bytes as they are written (PakDigestCheck.h compares).
  // EListError for a bad index, EFCreateError, EReadError when the archive ends before the
  // data do, EWriteError; the destination is closed in every case.
  void ExtractEntry(int32_t index, const std::string& destination, tk::Sha256* digest = nullptr);
  // The data of entry index in memory, for a small file read before anything is unpacked.
  // EListError for a bad index, EReadError when the archive ends before the data do.
  std::string ReadEntry(int32_t index);

  const std::string FileName;
  const OpenFor Purpose;
  std::unique_ptr<tk::TStream> Stream;
  std::unique_ptr<TkexPakHeader> Header;
  std::unique_ptr<TkexPakDirectory> Directory;

 private:
  // Reading: opens the package, then reads header and directory once each part is known to fit.
  void LoadForReading(const PackageLocation& location);
  // Header and directory back to the file with plain writes; nothing is truncated.
  void Flush();
};

}  // namespace pak
