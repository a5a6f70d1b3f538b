// A read-only view of a part of another stream: the bytes from offset to offset + size, seen as
// a stream of their own that starts at 0 and ends at size. A package carried inside the program
// file is read through one, so that the archive code reads it as it reads a file of its own.
#pragma once

#include <memory>

#include "toolkit/core/Stream.h"

namespace tk {

class TStreamWindow : public TStream {
 public:
  // Takes the stream; offset and size are not checked against it (a read past its end reads
  // short, as a file does).
  TStreamWindow(std::unique_ptr<TStream> inner, int64_t offset, int64_t size);

  // Never past the window's end.
  int32_t Read(void* buffer, int32_t count) override;
  // Writes nothing: the window is for reading only.
  int32_t Write(const void* buffer, int32_t count) override;
  // Positions are the window's own; End is its size. A position before 0 leaves it where it was.
  int64_t Seek(int64_t offset, SeekOrigin origin) override;

 private:
  std::unique_ptr<TStream> inner_;
  const int64_t offset_;
  const int64_t size_;
  int64_t position_ = 0;
};

}  // namespace tk
