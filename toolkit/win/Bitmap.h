// An owning, uncopyable GDI bitmap handle.
#pragma once

#include <windows.h>

namespace tk {

class Bitmap {
 public:
  Bitmap() = default;
  explicit Bitmap(HBITMAP handle) : handle_(handle) {}
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  Bitmap(Bitmap&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  Bitmap& operator=(Bitmap&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  ~Bitmap() { Reset(); }

  HBITMAP Handle() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }

 private:
  HBITMAP handle_ = nullptr;
};

// Decodes a JPEG (or any format the imaging component knows) held as an RCDATA resource of
// this program into a 32-bit bitmap. Raises EInvalidOperation naming the resource on failure.
Bitmap LoadPictureResource(const wchar_t* resourceName);

}  // namespace tk
