#include "ui/SelectPathForm.h"

namespace ui {

TFSelectPath::TFSelectPath(tk::Component* owner)
    : tk::Form(owner, tk::FormStyle{/*caption=*/true, /*minimizeBox=*/false, /*centred=*/false}) {
  SetName("FSelectPath");
  SetCaption("选择目录......");
  SetFormFont(L"宋体", 12, GB2312_CHARSET);
  SetBounds(339, 205, 486, 467);
}

}  // namespace ui
