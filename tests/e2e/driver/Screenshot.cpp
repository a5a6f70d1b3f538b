// https://learn.microsoft.com/windows/win32/gdi/capturing-an-image
#include "tests/e2e/driver/Screenshot.h"

#include <cstdio>
#include <vector>

#include "tests/e2e/driver/Wait.h"
#include "tests/e2e/driver/WindowQuery.h"

namespace e2e {
namespace {

struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rows;  // 24-bit, bottom-up, as a BMP file stores them
  bool operator==(const Picture& other) const {
    return width == other.width && height == other.height && rows == other.rows;
  }
};

// The window's place on the screen as it shows now.
Picture CopyFromScreen(HWND window) {
  Picture picture;
  RECT place;
  if (!GetWindowRect(window, &place)) return picture;
  picture.width = place.right - place.left;
  picture.height = place.bottom - place.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  if (bits) {
    BitBlt(memory, 0, 0, picture.width, picture.height, screen, place.left, place.top, SRCCOPY);
    GdiFlush();
    size_t size = static_cast<size_t>((picture.width * 3 + 3) & ~3) * picture.height;
    const auto* first = static_cast<const unsigned char*>(bits);
    picture.rows.assign(first, first + size);
  } else {
    picture.width = picture.height = 0;  // no bitmap (an empty or huge window): no picture
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

// True while the window or one of its controls still waits to be painted.
bool PaintPending(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return true;
  for (HWND child : Descendants(window))
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) return true;
  return false;
}

// Returns once the window's thread has handled what was sent to it before.
void RoundTrip(HWND window) {
  DWORD_PTR ignored;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kWindowWait, &ignored);
}

bool WriteBmp(const Picture& picture, const std::wstring& path) {
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = picture.width;
  header.biHeight = picture.height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  BITMAPFILEHEADER fileHeader = {};
  fileHeader.bfType = 0x4D42;  // "BM"
  fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
  fileHeader.bfSize = fileHeader.bfOffBits + static_cast<DWORD>(picture.rows.size());
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  bool written = fwrite(&fileHeader, sizeof fileHeader, 1, file) == 1 && fwrite(&header, sizeof header, 1, file) == 1 &&
                 fwrite(picture.rows.data(), 1, picture.rows.size(), file) == picture.rows.size();
  return fclose(file) == 0 && written;
}

}  // namespace

std::wstring ShotFolder() {
  wchar_t folder[MAX_PATH] = L"";
  DWORD length = GetEnvironmentVariableW(L"QUARN_SHOT_DIR", folder, MAX_PATH);
  return length && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

bool SaveWindowShot(HWND window, const std::wstring& bmpPath) {
  // The program paints when it is idle, and the screen follows a moment later: wait until
  // nothing waits to be painted, then until two copies in a row agree.
  RoundTrip(window);
  WaitUntil([&] { return !PaintPending(window); });
  RoundTrip(window);
  Picture shown = CopyFromScreen(window);
  WaitUntil([&] {
    Picture again = CopyFromScreen(window);
    bool steady = again == shown;
    shown = std::move(again);
    return steady;
  });
  return shown.width > 0 && WriteBmp(shown, bmpPath);
}

}  // namespace e2e
