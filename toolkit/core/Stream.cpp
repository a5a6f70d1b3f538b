#include "toolkit/core/Stream.h"

#include <algorithm>
#include <vector>

#include "toolkit/core/Errors.h"

namespace tk {

int64_t TStream::Size() {
  int64_t position = Position();
  int64_t size = Seek(0, SeekOrigin::End);
  Seek(position, SeekOrigin::Begin);
  return size;
}

void TStream::ReadBuffer(void* buffer, int32_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("读取数据流错误");
}

void TStream::WriteBuffer(const void* buffer, int32_t count) {
  if (count == 0 || Write(buffer, count) == count) return;
  // The system's reason (a full disk, a lost share) says more than the short count alone.
  uint32_t code = LastSysError();
  throw EWriteError(code != 0 ? "写入数据流错误。" + SysErrorMessage(code) : std::string("写入数据流错误"));
}

void TStream::CopyFrom(TStream& source, int64_t count, Sha256* digest) {
  if (count <= 0) return;  // a negative count would size the buffer from a wrapped value
  std::vector<char> chunk(static_cast<size_t>(std::min<int64_t>(count, kMaxCopyChunk)));
  while (count > 0) {
    int32_t n = static_cast<int32_t>(std::min<int64_t>(count, kMaxCopyChunk));
    source.ReadBuffer(chunk.data(), n);
    if (digest) digest->Update(chunk.data(), static_cast<size_t>(n));
    WriteBuffer(chunk.data(), n);
    count -= n;
  }
}

}  // namespace tk
