#include "toolkit/win/Image.h"

namespace tk {

Image::Image(Component* owner, Control* parent) : DrawnControl(owner, parent) {
  CreateHandle(RegisterOwnClass(L"QuarnImage", CS_HREDRAW | CS_VREDRAW, nullptr), 0, 0);
}

void Image::LoadFromResource(const wchar_t* resourceName) {
  picture_ = LoadPictureResource(resourceName);
  Repaint();
}

SIZE Image::PictureSize() const {
  BITMAP info = {};
  if (picture_) GetObjectW(picture_.Handle(), sizeof info, &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

void Image::Paint(HDC dc, const RECT& client, const RECT&) {
  if (picture_) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture_.Handle());
    SIZE size = PictureSize();
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, size.cx, size.cy, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  } else {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  }
}

}  // namespace tk
