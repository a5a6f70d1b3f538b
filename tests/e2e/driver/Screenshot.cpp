// https://learn.microsoft.com/windows/win32/gdi/capturing-an-image
#include "tests/e2e/driver/Screenshot.h"

#include <cstdio>
#include <vector>

namespace e2e {

std::wstring ShotFolder() {
  wchar_t folder[MAX_PATH] = L"";
  DWORD length = GetEnvironmentVariableW(L"QUARN_SHOT_DIR", folder, MAX_PATH);
  return length && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

bool SaveWindowShot(HWND window, const std::wstring& bmpPath) {
  // Paints whatever is pending before the copy; the window's own thread does the painting.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DWORD_PTR ignored;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);

  RECT place;
  if (!GetWindowRect(window, &place)) return false;
  int width = place.right - place.left, height = place.bottom - place.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, place.left, place.top, SRCCOPY);
  GdiFlush();

  int rowBytes = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER fileHeader = {};
  fileHeader.bfType = 0x4D42;  // "BM"
  fileHeader.bfOffBits = sizeof fileHeader + sizeof info.bmiHeader;
  fileHeader.bfSize = fileHeader.bfOffBits + rowBytes * height;
  bool written = false;
  if (FILE* file = _wfopen(bmpPath.c_str(), L"wb")) {
    written = fwrite(&fileHeader, sizeof fileHeader, 1, file) == 1 &&
              fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
              fwrite(bits, rowBytes, height, file) == static_cast<size_t>(height);
    written = fclose(file) == 0 && written;
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return written;
}

}  // namespace e2e
