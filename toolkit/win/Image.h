// A picture control: shows a decoded picture stretched to the control's size.
// https://learn.microsoft.com/windows/win32/gdi/bitmap-functions
#pragma once

#include "toolkit/win/Bitmap.h"
#include "toolkit/win/Control.h"

namespace tk {

class Image : public Control {
 public:
  Image(Component* owner, Control* parent);

  // Loads the picture from an RCDATA resource (see LoadPictureResource).
  void LoadFromResource(const wchar_t* resourceName);
  bool HasPicture() const { return static_cast<bool>(picture_); }
  SIZE PictureSize() const;

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  Bitmap picture_;
};

}  // namespace tk
