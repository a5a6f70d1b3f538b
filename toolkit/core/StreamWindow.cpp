#include "toolkit/core/StreamWindow.h"

#include <algorithm>

namespace tk {

TStreamWindow::TStreamWindow(std::unique_ptr<TStream> inner, int64_t offset, int64_t size)
    : inner_(std::move(inner)), offset_(offset), size_(size) {}

int32_t TStreamWindow::Read(void* buffer, int32_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  const int32_t wanted = static_cast<int32_t>(std::min<int64_t>(count, size_ - position_));
  // Placed before every read, so the window's position alone decides where the bytes come from.
  if (inner_->Seek(offset_ + position_, SeekOrigin::Begin) != offset_ + position_) return 0;
  const int32_t got = inner_->Read(buffer, wanted);
  if (got > 0) position_ += got;
  return got;
}

int32_t TStreamWindow::Write(const void*, int32_t) { return 0; }

int64_t TStreamWindow::Seek(int64_t offset, SeekOrigin origin) {
  int64_t base = origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::Current ? position_ : size_;
  if (base + offset >= 0) position_ = base + offset;
  return position_;
}

}  // namespace tk
