#include "ui/StartupPicForm.h"

namespace ui {

namespace {
constexpr int kClientWidth = 478;
constexpr int kClientHeight = 299;
}  // namespace

TFStartupPicForm::TFStartupPicForm(tk::Component* owner)
    : tk::Form(owner, tk::FormStyle{/*caption=*/false, /*minimizeBox=*/false, /*centred=*/true, /*activates=*/false}) {
  SetName("FStartupPicForm");
  SetClientSize(kClientWidth, kClientHeight);
  Image1 = new tk::Image(this, this);
  Image1->SetName("Image1");
  Image1->SetAccessibleName("Quarn 系列软件：论坛、内容管理、博客。安装向导正在启动，请稍候。");
  Image1->SetBounds(0, 0, kClientWidth, kClientHeight);
  Image1->LoadFromResource(L"SPLASH");
}

}  // namespace ui
