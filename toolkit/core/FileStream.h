// A stream over a file. Opened for writing, the file is shared with nobody: no other handle, in
// this process or another, can open it while the stream holds it. Opened for reading, it is
// shared with other readers only, so a file on a read-only medium or share, or one marked
// read-only, can be read, and no writer can change it meanwhile.
// On Windows the name is a GBK path and the share mode says who else may open the file. The
// POSIX twin takes the native path bytes and holds an flock (exclusive for writing, shared for
// reading), which keeps out other TFileStreams in the same way.
#pragma once

#include <string>

#include "toolkit/core/Stream.h"

namespace tk {

enum class FileMode {
  Create,         // create, or empty an existing file (EFCreateError on failure)
  OpenReadWrite,  // open an existing file (EFOpenError on failure)
  OpenRead,       // open an existing regular file for reading only (EFOpenError on failure);
                  // Write raises EWriteError
};

class TFileStream : public TStream {
 public:
  TFileStream(const std::string& fileName, FileMode mode);
  ~TFileStream() override;

  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;

  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
  intptr_t handle_;
  bool readOnly_;
};

// Whether an EFOpenError's system code says that no file is at the name (or a folder on its
// path is missing), as opposed to one that exists but cannot be opened.
bool IsFileNotFoundError(uint32_t errorCode);

// Whether a file (not a folder), or a folder, exists at the path; same naming rules as
// TFileStream.
bool FileExists(const std::string& fileName);
bool FolderExists(const std::string& folder);
#ifdef _WIN32
bool FolderExists(const std::wstring& folder);  // a UTF-16 path, for names GBK cannot hold
#endif

}  // namespace tk
