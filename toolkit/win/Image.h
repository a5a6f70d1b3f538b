// A picture control: shows a decoded picture stretched to the control's size. Of the picture's
// drawings for several scales it takes the one for the form's DPI, made to the control's size
// once, and again when the size changes.
// https://learn.microsoft.com/windows/win32/gdi/bitmap-functions
#pragma once

#include <string>

#include "toolkit/win/Bitmap.h"
#include "toolkit/win/DrawnControl.h"

namespace tk {

class Image : public DrawnControl {
 public:
  Image(Component* owner, Control* parent);

  // Loads the picture from an RCDATA resource (see PictureResourceForDpi).
  void LoadFromResource(const wchar_t* resourceName);
  bool HasPicture() const { return static_cast<bool>(picture_); }
  SIZE PictureSize() const;

 protected:
  void Paint(HDC dc, const RECT& client, const RECT& dirty) override;
  // A graphic; its alternative text is the name given with SetAccessibleName.
  AccessibleDescription DescribeForAccessibility() const override {
    return {ROLE_SYSTEM_GRAPHIC, STATE_SYSTEM_READONLY, nullptr};
  }

 private:
  // The picture of the resource for the form's DPI, at the control's size.
  void LoadForClientSize();

  Bitmap picture_;
  std::wstring resourceName_;
  SIZE loadedFor_ = {0, 0};  // the client size the picture was made for
};

}  // namespace tk
