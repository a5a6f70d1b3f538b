#include "toolkit/win/Image.h"

#include "toolkit/win/Dpi.h"
#include "toolkit/win/Form.h"

namespace tk {

Image::Image(Component* owner, Control* parent) : DrawnControl(owner, parent) {
  CreateHandle(RegisterOwnClass(L"QuarnImage", CS_HREDRAW | CS_VREDRAW, nullptr), 0, 0);
}

void Image::LoadFromResource(const wchar_t* resourceName) {
  resourceName_ = resourceName;
  LoadForClientSize();
  Repaint();
}

void Image::LoadForClientSize() {
  RECT client;
  GetClientRect(hwnd_, &client);
  Form* form = ParentForm();
  const int dpi = form ? form->Dpi() : WindowDpi(hwnd_);
  picture_ = LoadPictureResource(PictureResourceForDpi(resourceName_.c_str(), dpi).c_str(),
                                 SIZE{client.right, client.bottom});
  loadedFor_ = SIZE{client.right, client.bottom};
}

SIZE Image::PictureSize() const {
  BITMAP info = {};
  if (picture_) GetObjectW(picture_.Handle(), sizeof info, &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

void Image::Paint(HDC dc, const RECT& client, const RECT&) {
  if (!resourceName_.empty() && (client.right != loadedFor_.cx || client.bottom != loadedFor_.cy)) LoadForClientSize();
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
