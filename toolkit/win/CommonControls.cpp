#include "toolkit/win/CommonControls.h"

#include "toolkit/core/SystemLibrary.h"

namespace tk {

const CommonControls& CommonControlsFunctions() {
  static const CommonControls functions = [] {
    static const SystemLibrary comctl32(L"comctl32.dll", LibrarySource::SideBySideOrSystemFolder);
    CommonControls controls;
    controls.InitCommonControlsEx = comctl32.Get<decltype(controls.InitCommonControlsEx)>("InitCommonControlsEx");
    controls.SetWindowSubclass = comctl32.Get<decltype(controls.SetWindowSubclass)>("SetWindowSubclass");
    controls.RemoveWindowSubclass = comctl32.Get<decltype(controls.RemoveWindowSubclass)>("RemoveWindowSubclass");
    controls.DefSubclassProc = comctl32.Get<decltype(controls.DefSubclassProc)>("DefSubclassProc");
    return controls;
  }();
  return functions;
}

}  // namespace tk
