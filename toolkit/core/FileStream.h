// A stream over a file opened for reading and writing and shared with nobody: no other handle,
// in this process or another, can open the file while the stream holds it.
// On Windows the name is a GBK path and the file is opened with share mode 0. The POSIX twin
// takes the native path bytes and holds an exclusive flock, which keeps out other TFileStreams.
#pragma once

#include <string>

#include "toolkit/core/Stream.h"

namespace tk {

enum class FileMode {
  Create,         // create, or empty an existing file (EFCreateError on failure)
  OpenReadWrite,  // open an existing file (EFOpenError on failure)
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
};

// Whether a file (not a folder), or a folder, exists at the path; same naming rules as
// TFileStream.
bool FileExists(const std::string& fileName);
bool FolderExists(const std::string& folder);
#ifdef _WIN32
bool FolderExists(const std::wstring& folder);  // a UTF-16 path, for names GBK cannot hold
#endif

}  // namespace tk
