#include "ui/WizardAccessibleNames.h"

#include <string>

#include "toolkit/win/Accessible.h"
#include "toolkit/win/DrawnControl.h"
#include "toolkit/win/Form.h"
#include "toolkit/win/Image.h"

namespace ui {
namespace {

struct LabelRow {
  const char* label;
  const char* named;
};

const LabelRow kLabels[] = {
    {"Label18", "Edit1"},
};

struct AccessibleName {
  const char* control;
  const char* name;
};

const AccessibleName kAccessibleNames[] = {
    {"WelcomeImage", "Quarn 安装向导"},
    {"Memo1", "欢迎"},
    {"Memo2", "Quarn软件许可协议"},
    {"Memo3", "已拷贝的文件"},
    {"Gauge1", "安装进度"},
    {"Gauge2", "卸载进度"},
};

// Every page header carries the same logo, named after its page ("LicensePagePicture").
const char kHeaderPictureSuffix[] = "Picture";
const char kHeaderPictureName[] = "Quarn 标志";

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void NameDrawnControls(tk::Form& form) {
  for (const LabelRow& row : kLabels) {
    tk::Control* label = form.FindControl(row.label);
    tk::Control* named = form.FindControl(row.named);
    if (label && named) tk::AssociateLabel(*label, *named);
  }
  for (const AccessibleName& row : kAccessibleNames)
    if (auto* control = dynamic_cast<tk::DrawnControl*>(form.FindControl(row.control)))
      control->SetAccessibleName(row.name);
  for (int i = 0; i < form.ComponentCount(); ++i) {
    auto* image = dynamic_cast<tk::Image*>(form.Components(i));
    if (image && EndsWith(image->Name(), kHeaderPictureSuffix)) image->SetAccessibleName(kHeaderPictureName);
  }
}

}  // namespace ui
