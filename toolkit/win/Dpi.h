// The DPI a window is shown at, and what is made for it: outer sizes, fonts, metrics.
// https://learn.microsoft.com/windows/win32/hidpi/high-dpi-desktop-application-development-on-windows
// The per-monitor functions came after Windows 7: they are looked up in user32 at run time,
// with the system DPI (the screen's LOGPIXELSY) where they are missing.
#pragma once

#include <windows.h>

namespace tk {

// The DPI the window is shown at: its monitor's for a per-monitor aware program, the system's
// otherwise.
int WindowDpi(HWND window);

// Grows a client rectangle into the outer rectangle of a window of those styles at dpi.
void AdjustWindowRectForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi);

// A system metric (SM_CXMENUCHECK, SM_CXVSCROLL …) as it is at dpi.
int SystemMetricForDpi(int index, int dpi);

// A font of the given height in design pixels (at 96 DPI), made for dpi.
HFONT CreateFontForDpi(const wchar_t* face, int designPixelHeight, BYTE charset, bool bold, int dpi);

// Makes the process per-monitor DPI aware (v2, else v1, else system aware) when nothing has
// set its awareness yet. setup.exe says so in its manifest; a program without that manifest
// (a test program) calls this before it makes its first window.
void BecomeDpiAware();

// WM_DPICHANGED where the SDK headers of Windows 7 do not have it.
constexpr UINT kDpiChangedMessage = 0x02E0;

}  // namespace tk
