#include "ui/SelectPathForm.h"

#include "common/portable/InstallFolderRule.h"
#include "common/portable/PathText.h"
#include "toolkit/win/Accessible.h"
#include "toolkit/win/Dialogs.h"
#include "toolkit/win/Label.h"
#include "toolkit/win/Layout.h"
#include "toolkit/win/Panel.h"

namespace ui {
namespace {

using tk::Kind;
using namespace tk;  // row options

const ControlRow kPickerLayout[] = {
    // name, kind, parent, x, y, width, height, caption, options, tab order
    {"Panel1", Kind::Panel, "", 0, 367, 478, 73, "", kAlignBottom, 0},
    {"Label1", Kind::Label, "Panel1", 8, 11, 40, 15, "路径:", kNone, -1},
    {"Edit1", Kind::Edit, "Panel1", 56, 8, 414, 21, "", kNone, 0},
    {"Label2", Kind::Label, "Panel1", 8, 43, 60, 15, "内容描述:", kNone, -1},
    {"ComboBox1", Kind::ComboBox, "Panel1", 70, 39, 200, 120, "", kNone, 1},
    {"BitBtn2", Kind::Button, "Panel1", 306, 38, 75, 25, "确认", kNone, 2},
    {"BitBtn1", Kind::Button, "Panel1", 395, 38, 75, 25, "取消", kNone, 3},
    {"ShellTreeView1", Kind::ShellTreeView, "", 0, 0, 478, 367, "", kAlignClient, 1},
};

const char* const kDescriptions[] = {"Quarn.CMS", "Quarn.Forum", "Quarn.BLog", "Java环境-JDK2", "应用服务器-Tomcat",
                                     "数据库-MySql"};

}  // namespace

TFSelectPath::TFSelectPath(tk::Component* owner)
    : tk::Form(owner, tk::FormStyle{/*caption=*/true, /*minimizeBox=*/false, /*centred=*/false}) {
  SetName("FSelectPath");
  SetCaption("选择目录......");
  SetFormFont(L"宋体", 12, GB2312_CHARSET);
  SetClientSize(478, 440);
  SetBounds(339, 205, Width(), Height());
  tk::BuildLayout(*this, kPickerLayout);
  OnDpiChanged = [this] { tk::ApplyLayout(*this, kPickerLayout); };
  ShellTreeView1 = Bind<tk::ShellTreeView>("ShellTreeView1");
  Edit1 = Bind<tk::Edit>("Edit1");
  ComboBox1 = Bind<tk::ComboBox>("ComboBox1");
  BitBtn2 = Bind<tk::Button>("BitBtn2");
  BitBtn1 = Bind<tk::Button>("BitBtn1");
  // What a screen reader says for the path box and the description list.
  tk::AssociateLabel(*FindControl("Label1"), *Edit1);
  tk::AssociateLabel(*FindControl("Label2"), *ComboBox1);
  for (const char* description : kDescriptions) ComboBox1->AddItem(description);
  ComboBox1->SetItemIndex(0);
  SetDefaultButton(BitBtn2);
  SetCancelButton(BitBtn1);

  OnShow = [this] { FormShow(); };
  Edit1->OnExit = [this] { Edit1Exit(); };
  ShellTreeView1->OnChange = [this] { ShellTreeView1Change(); };
  BitBtn2->OnClick = [this] { BitBtn2Click(); };
  BitBtn1->OnClick = [this] { SetModalResult(tk::ModalResult::Cancel); };
}

// The tree stays at its root; only the path box shows the seed.
void TFSelectPath::FormShow() {
  ShellTreeView1->ScrollSelectedIntoView();
  Edit1->SetText(SeedPath);
  Edit1->SetFocus();
}

// An unresolvable path raises an error naming it; the tree keeps its selection. An emptied
// box names no folder and is left alone; so is a name GBK cannot hold, which OK refuses.
void TFSelectPath::Edit1Exit() {
  if (!Edit1->Text().empty() && Edit1->TextIsGbk()) ShellTreeView1->SetPath(Edit1->Text());
}

// The box shows the folder as the shell names it: a name GBK cannot hold stays visible as it
// is, for OK to refuse, rather than turning into '?' on its way to the wizard.
void TFSelectPath::ShellTreeView1Change() {
  Edit1->SetWideText(ShellTreeView1->WidePath());
  ComboBox1->SetText(pub::LastPathComponent(Edit1->Text()));
}

// OK takes only a folder the wizard can install into, by the folder page's own rule, so that
// a picked folder is refused here, where another can still be picked, and named as it is.
void TFSelectPath::BitBtn2Click() {
  const std::string problem = Edit1->TextIsGbk() ? pub::InstallFolderProblem(Edit1->Text()) : pub::kInstallFolderNotGbk;
  if (!problem.empty()) {
    tk::ShowError(problem);
    Edit1->SetFocus();
    return;
  }
  SetModalResult(tk::ModalResult::Ok);
}

}  // namespace ui
