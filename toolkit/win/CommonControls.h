// https://learn.microsoft.com/windows/win32/controls/common-control-versions
// The functions of the common controls (comctl32.dll) the toolkit calls, loaded the first time
// they are needed rather than imported. An imported comctl32 starts before the program's first
// line, while the DLL search still begins in the program's folder, and loads the DLLs it uses
// (uxtheme.dll) from there. Loaded by bare name after RestrictDllSearchToSystem, it is the
// version 6 the manifest binds side by side, or the system folder's.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace tk {

struct CommonControls {
  decltype(&::InitCommonControlsEx) InitCommonControlsEx;
  decltype(&::SetWindowSubclass) SetWindowSubclass;
  decltype(&::RemoveWindowSubclass) RemoveWindowSubclass;
  decltype(&::DefSubclassProc) DefSubclassProc;
};

// Loaded once for the process; EInOutError naming comctl32.dll when it cannot be.
const CommonControls& CommonControlsFunctions();

}  // namespace tk
