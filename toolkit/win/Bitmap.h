// An owning, uncopyable GDI bitmap handle.
#pragma once

#include <windows.h>

#include <string>

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
// this program into a 32-bit bitmap. A picture larger than fitTo (when it is not empty) is
// scaled down to it with the imaging component's Fant filter; a smaller one keeps its size.
// Raises EInvalidOperation naming the resource on failure.
Bitmap LoadPictureResource(const wchar_t* resourceName, SIZE fitTo = SIZE{0, 0});

// The resource of a picture drawn for dpi: NAME is drawn at 100 %, NAME_150 and NAME_200 at
// 150 and 200 %. The smallest one that is not smaller than the display's scale, so a picture
// is scaled down and never up; NAME where that one is missing.
std::wstring PictureResourceForDpi(const wchar_t* resourceName, int dpi);

}  // namespace tk
