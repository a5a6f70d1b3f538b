#include "toolkit/win/CommonControls.h"

#include "toolkit/core/SystemLibrary.h"

namespace tk {

const CommonControls& CommonControlsFunctions() {
  static const CommonControls functions = [] {
    static const SystemLibrary comctl32(L"comctl32.dll", LibrarySource::SideBySideOrSystemFolder);
    CommonControls controls;
    comctl32.Bind(controls.InitCommonControlsEx, "InitCommonControlsEx");
    comctl32.Bind(controls.SetWindowSubclass, "SetWindowSubclass");
    comctl32.Bind(controls.RemoveWindowSubclass, "RemoveWindowSubclass");
    comctl32.Bind(controls.DefSubclassProc, "DefSubclassProc");
    return controls;
  }();
  return functions;
}

}  // namespace tk
