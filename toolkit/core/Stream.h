// Byte streams: plain reads and writes that report how much they moved, and the checked
// ReadBuffer / WriteBuffer that raise EReadError / EWriteError on a short transfer.
#pragma once

#include <cstdint>

#include "toolkit/core/Sha256.h"

namespace tk {

enum class SeekOrigin { Begin, Current, End };

class TStream {
 public:
  // The largest chunk CopyFrom moves at a time.
  static constexpr int32_t kMaxCopyChunk = 61440;

  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  virtual ~TStream() = default;

  virtual int32_t Read(void* buffer, int32_t count) = 0;
  virtual int32_t Write(const void* buffer, int32_t count) = 0;
  virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, SeekOrigin::Current); }
  void SetPosition(int64_t position) { Seek(position, SeekOrigin::Begin); }
  int64_t Size();

  void ReadBuffer(void* buffer, int32_t count);
  void WriteBuffer(const void* buffer, int32_t count);
  // Copies count bytes from source's current position, in chunks of at most kMaxCopyChunk.
  // A chunk is written only after it was read whole; with a digest, every chunk read is fed
  // to it as well, so the bytes are read once for both.
  void CopyFrom(TStream& source, int64_t count, Sha256* digest = nullptr);
};

}  // namespace tk
