#include "toolkit/core/MemoryStream.h"

#include <algorithm>
#include <cstring>

namespace tk {

int32_t TMemoryStream::Read(void* buffer, int32_t count) {
  if (count <= 0 || position_ >= bytes_.size()) return 0;
  size_t n = std::min(static_cast<size_t>(count), bytes_.size() - position_);
  std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += n;
  return static_cast<int32_t>(n);
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  size_t n = static_cast<size_t>(count);
  if (bytes_.size() < position_ + n) bytes_.resize(position_ + n, '\0');
  std::memcpy(&bytes_[position_], buffer, n);
  position_ += n;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, SeekOrigin origin) {
  int64_t base = origin == SeekOrigin::Begin ? 0
                 : origin == SeekOrigin::Current ? static_cast<int64_t>(position_)
                                                 : static_cast<int64_t>(bytes_.size());
  int64_t target = base + offset;
  if (target >= 0) position_ = static_cast<size_t>(target);
  return static_cast<int64_t>(position_);
}

}  // namespace tk
