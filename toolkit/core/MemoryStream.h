// A stream over bytes in memory: what a structure writes to it can be hashed or compared
// before, or instead of, going to a file.
#pragma once

#include <string>

#include "toolkit/core/Stream.h"

namespace tk {

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

  int32_t Read(void* buffer, int32_t count) override;
  // Writes at the position, growing the bytes as needed (a gap before it is zero-filled).
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;

  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
  size_t position_ = 0;
};

}  // namespace tk
