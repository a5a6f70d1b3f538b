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
  FillWithPicture();
  Image1->LoadFromResource(L"SPLASH");
  OnDpiChanged = [this] { FillWithPicture(); };
}

void TFStartupPicForm::FillWithPicture() {
  RECT client;
  GetClientRect(Handle(), &client);
  Image1->SetBounds(0, 0, client.right, client.bottom);
}

}  // namespace ui
