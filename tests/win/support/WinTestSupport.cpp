#include "tests/win/support/WinTestSupport.h"

#include <tlhelp32.h>

#include <cstdio>

#include "tests/e2e/driver/Files.h"
#include "tests/e2e/driver/Screenshot.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/win/Dpi.h"

namespace testing_support {

// setup.exe is per-monitor DPI aware by its manifest; the test programs, which carry no
// manifest, become so before their first window, so their windows are the program's.
const bool kDpiAware = (tk::BecomeDpiAware(), true);

BoxRecorder::BoxRecorder() {
  previous_ = tk::SetMessageAnswerer([this](tk::MessageKind kind, const std::string& text) {
    boxes_.push_back({kind, text});
    if (answers_.empty()) return kind == tk::MessageKind::Warning ? tk::MessageAnswer::Yes : tk::MessageAnswer::Ok;
    tk::MessageAnswer answer = answers_.front();
    answers_.erase(answers_.begin());
    return answer;
  });
}

BoxRecorder::~BoxRecorder() { tk::SetMessageAnswerer(previous_); }

TempFolder::TempFolder() {
  // Process ids come back under Wine: a name is taken only when the folder is new.
  static unsigned counter = 0;
  std::wstring path;
  for (;;) {
    wchar_t name[64];
    swprintf(name, 64, L"quarntest-%lu-%lu-%u\\", GetCurrentProcessId(), GetTickCount(), ++counter);
    path = e2e::TempFolder() + name;
    if (CreateDirectoryW(path.c_str(), nullptr)) break;
  }
  path_ = tk::FromWide(path);
}

void RemoveTree(const std::string& gbkPath) { e2e::DeleteTree(tk::ToWide(gbkPath)); }

TempFolder::~TempFolder() { RemoveTree(path_); }

namespace {

// Copies a rectangle of a window's device context (its client area, or the whole window with
// its frame) into a capture.
Capture CaptureFrom(HWND dcWindow, bool wholeWindow, int width, int height) {
  Capture capture;
  capture.width = width;
  capture.height = height;
  HDC windowDc = wholeWindow ? GetWindowDC(dcWindow) : GetDC(dcWindow);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = capture.width;
  info.bmiHeader.biHeight = -capture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memoryDc, bitmap);
  if (bits) {
    BitBlt(memoryDc, 0, 0, capture.width, capture.height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const unsigned* pixels = static_cast<const unsigned*>(bits);
    capture.pixels.assign(pixels, pixels + static_cast<size_t>(capture.width) * capture.height);
  } else {
    capture.width = capture.height = 0;  // no bitmap (an empty or huge window): an empty capture
  }
  SelectObject(memoryDc, old);
  DeleteObject(bitmap);
  DeleteDC(memoryDc);
  ReleaseDC(dcWindow, windowDc);
  return capture;
}

}  // namespace

Capture CaptureClient(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return CaptureFrom(window, false, client.right, client.bottom);
}

Capture CaptureWindow(HWND window) {
  RECT outer;
  GetWindowRect(window, &outer);
  return CaptureFrom(window, true, outer.right - outer.left, outer.bottom - outer.top);
}

bool Capture::SaveBmp(const std::string& utf8Path) const {
  FILE* file = _wfopen(tk::Utf8ToWide(utf8Path).c_str(), L"wb");
  if (!file) return false;
  int rowBytes = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER fileHeader = {};
  BITMAPINFOHEADER infoHeader = {};
  fileHeader.bfType = 0x4D42;
  fileHeader.bfOffBits = sizeof fileHeader + sizeof infoHeader;
  fileHeader.bfSize = fileHeader.bfOffBits + rowBytes * height;
  infoHeader.biSize = sizeof infoHeader;
  infoHeader.biWidth = width;
  infoHeader.biHeight = height;
  infoHeader.biPlanes = 1;
  infoHeader.biBitCount = 24;
  fwrite(&fileHeader, sizeof fileHeader, 1, file);
  fwrite(&infoHeader, sizeof infoHeader, 1, file);
  std::vector<unsigned char> row(static_cast<size_t>(rowBytes));
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      unsigned p = At(x, y);
      row[x * 3] = p & 0xFF;
      row[x * 3 + 1] = (p >> 8) & 0xFF;
      row[x * 3 + 2] = (p >> 16) & 0xFF;
    }
    fwrite(row.data(), 1, row.size(), file);
  }
  return fclose(file) == 0;
}

void PumpMessages(int milliseconds) {
  DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  do {
    if (tk::Application::Instance()) tk::Application::Instance()->ProcessMessages();
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

int ThreadsNamed(const wchar_t* name) {
  using GetDescription = HRESULT(WINAPI*)(HANDLE, PWSTR*);
  auto get = reinterpret_cast<GetDescription>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetThreadDescription")));
  if (!get) return -1;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != GetCurrentProcessId()) continue;
    HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
    if (!thread) continue;
    PWSTR description = nullptr;
    if (SUCCEEDED(get(thread, &description)) && description) {
      if (std::wstring(description) == name) ++count;
      LocalFree(description);
    }
    CloseHandle(thread);
  }
  CloseHandle(snapshot);
  return count;
}

std::string ShotFolder() { return tk::WideToUtf8(e2e::ShotFolder()); }

}  // namespace testing_support
