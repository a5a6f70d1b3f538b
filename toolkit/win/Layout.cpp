#include "toolkit/win/Layout.h"

#include <algorithm>
#include <vector>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/DpiScale.h"
#include "toolkit/core/Errors.h"
#include "toolkit/win/Bevel.h"
#include "toolkit/win/Button.h"
#include "toolkit/win/CheckListBox.h"
#include "toolkit/win/ComboBox.h"
#include "toolkit/win/Edit.h"
#include "toolkit/win/Form.h"
#include "toolkit/win/Gauge.h"
#include "toolkit/win/Image.h"
#include "toolkit/win/Label.h"
#include "toolkit/win/Memo.h"
#include "toolkit/win/Panel.h"
#include "toolkit/win/RadioButton.h"
#include "toolkit/win/Resources.h"
#include "toolkit/win/ShellTreeView.h"

namespace tk {
namespace {

Control* Create(Form& form, Control* parent, const ControlRow& row) {
  switch (row.kind) {
    case Kind::Panel: return new Panel(&form, parent);
    case Kind::Bevel: return new Bevel(&form, parent);
    case Kind::Label: return new Label(&form, parent);
    case Kind::Button: return new Button(&form, parent);
    case Kind::RadioButton: return new RadioButton(&form, parent);
    case Kind::Edit: return new Edit(&form, parent);
    case Kind::Memo:
      return new Memo(&form, parent, MemoStyle{!(row.options & kNoBorder), (row.options & kScrollBar) != 0});
    case Kind::CheckListBox: return new CheckListBox(&form, parent);
    case Kind::Gauge: return new Gauge(&form, parent);
    case Kind::Image: return new Image(&form, parent);
    case Kind::ComboBox: return new ComboBox(&form, parent);
    case Kind::ShellTreeView: return new ShellTreeView(&form, parent);
  }
  return nullptr;
}

void ApplyOptions(Control& control, const ControlRow& row) {
  unsigned o = row.options;
  if (o & kWhiteBack) control.SetColor(kWhite);
  if (o & kBlueBack) control.SetColor(kBlue);
  COLORREF text = (o & kMaroonText) ? kMaroon : (o & kRedText) ? kRed : (o & kWhiteText) ? kWhite : RGB(0, 0, 0);
  control.SetFontStyle(text, (o & (kBold | kTitle)) != 0, (o & kTitle) ? 14 : 0);
  if (auto* memo = dynamic_cast<Memo*>(&control))
    memo->SetText((o & kTextResource) ? LoadTextResource(ToWide(row.caption).c_str()) : std::string(row.caption));
  else if (auto* image = dynamic_cast<Image*>(&control)) {
    if (o & kPictureResource) image->LoadFromResource(ToWide(row.caption).c_str());
  }
  else if (dynamic_cast<ShellTreeView*>(&control))
    ;  // its nodes come from the shell
  else
    control.SetCaption(row.caption);
  if (auto* radio = dynamic_cast<RadioButton*>(&control); radio && (o & kChecked)) radio->SetChecked(true);
  if (o & kDisabled) control.SetEnabled(false);
  if (o & kHidden) control.SetVisible(false);
}

// The row's rectangle at the form's DPI. Bottom-aligned rows take the parent's full width at
// its bottom edge; client-aligned rows fill what is left above them.
void Place(Control& control, const ControlRow& row, int dpi, std::map<Control*, int>& bottomUsed) {
  const LayoutRect bounds = ScaleToDpi(LayoutRect{row.x, row.y, row.width, row.height}, dpi);
  if (!(row.options & (kAlignBottom | kAlignClient))) {
    control.SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
    return;
  }
  Control* parent = control.Parent();
  RECT client;
  GetClientRect(parent->Handle(), &client);
  int& used = bottomUsed[parent];
  if (row.options & kAlignBottom) {
    used += bounds.height;
    control.SetBounds(0, client.bottom - used, client.right, bounds.height);
  } else {
    control.SetBounds(0, 0, client.right, client.bottom - used);
  }
}

}  // namespace

void BuildLayout(Form& form, const ControlRow* rows, size_t count) {
  std::map<Control*, int> bottomUsed;
  std::vector<std::pair<int, Control*>> tabOrders;
  for (size_t i = 0; i < count; ++i) {
    const ControlRow& row = rows[i];
    Control* parent = &form;
    if (*row.parent) {
      parent = form.FindControl(row.parent);
      if (!parent) throw EInvalidOperation(Format("布局错误: %s 的父控件 %s 不存在", row.name, row.parent));
    }
    Control* control = Create(form, parent, row);
    control->SetName(row.name);
    Place(*control, row, form.Dpi(), bottomUsed);
    ApplyOptions(*control, row);
    if (row.tabOrder >= 0) tabOrders.emplace_back(row.tabOrder, control);
  }
  std::stable_sort(tabOrders.begin(), tabOrders.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [order, control] : tabOrders) control->SetTabOrder(order);
}

void ApplyLayout(Form& form, const ControlRow* rows, size_t count) {
  std::map<Control*, int> bottomUsed;
  for (size_t i = 0; i < count; ++i)
    if (Control* control = form.FindControl(rows[i].name)) Place(*control, rows[i], form.Dpi(), bottomUsed);
}

}  // namespace tk
