// A picture control: shows a decoded picture stretched to the control's size.
// https://learn.microsoft.com/windows/win32/gdi/bitmap-functions
#pragma once

#include "toolkit/win/Bitmap.h"
#include "toolkit/win/DrawnControl.h"

namespace tk {

class Image : public DrawnControl {
 public:
  Image(Component* owner, Control* parent);

  // Loads the picture from an RCDATA resource (see LoadPictureResource).
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
  Bitmap picture_;
};

}  // namespace tk
