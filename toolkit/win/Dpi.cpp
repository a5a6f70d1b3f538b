#include "toolkit/win/Dpi.h"

#include "toolkit/core/DpiScale.h"

namespace tk {
namespace {

// user32 is a KnownDLL, loaded in every program with a window: only its newer functions are
// looked up, never a DLL loaded.
template <typename Function>
Function User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using SetProcessDpiAwarenessContextFunction = BOOL(WINAPI*)(HANDLE);
using SetProcessDPIAwareFunction = BOOL(WINAPI*)();

// DPI_AWARENESS_CONTEXT values (windef.h of Windows 10).
HANDLE const kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
HANDLE const kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

void AdjustWindowRectForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  if (adjustForDpi && adjustForDpi(rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) return;
  AdjustWindowRectEx(rect, style, FALSE, exStyle);
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto metricForDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
  if (metricForDpi) return metricForDpi(index, static_cast<UINT>(dpi));
  // The system's metrics are made for its own DPI.
  return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

HFONT CreateFontForDpi(const wchar_t* face, int designPixelHeight, BYTE charset, bool bold, int dpi) {
  return CreateFontW(-ScaleToDpi(designPixelHeight, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     face);
}

void BecomeDpiAware() {
  static const auto setContext =
      User32Function<SetProcessDpiAwarenessContextFunction>("SetProcessDpiAwarenessContext");
  // Refused (access denied) once the manifest or an earlier call has set it: that one stands.
  if (setContext) {
    for (HANDLE context : {kPerMonitorAwareV2, kPerMonitorAware}) {
      SetLastError(ERROR_SUCCESS);
      if (setContext(context) || GetLastError() == ERROR_ACCESS_DENIED) return;
    }
  }
  if (auto setAware = User32Function<SetProcessDPIAwareFunction>("SetProcessDPIAware")) setAware();
}

}  // namespace tk
