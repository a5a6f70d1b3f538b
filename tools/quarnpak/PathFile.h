// A file named by a std::filesystem path (UTF-16 on Windows, so any name the system can hold)
// as a toolkit stream. Mode::Read never asks for write access, so inspecting an archive cannot
// change it; Mode::Create empties or creates the file.
#pragma once

#include <cstdio>
#include <filesystem>

#include "toolkit/core/Stream.h"

namespace qp {

class PathFile : public tk::TStream {
 public:
  enum class Mode { Read, Create };

  // ToolError naming the path and the system's reason when the file cannot be opened; Read
  // also refuses anything that is not a regular file.
  PathFile(const std::filesystem::path& path, Mode mode);
  // Closes quietly; call Close() to learn whether buffered writes reached the file.
  ~PathFile() override;

  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, tk::SeekOrigin origin) override;

  // Flushes and closes; ToolError when any write, or the flush, failed.
  void Close();
  // Why the last read or write fell short ("end of file" when nothing failed).
  std::string FailureReason() const;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::FILE* file_;
  int errorNumber_ = 0;
};

}  // namespace qp
