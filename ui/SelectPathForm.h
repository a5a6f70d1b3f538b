// The folder picker: the computer's folder tree above a path box, a description box and the
// OK and Cancel buttons. The caller seeds the path, shows it modally and reads the path box.
#pragma once

#include <string>

#include "toolkit/win/Button.h"
#include "toolkit/win/ComboBox.h"
#include "toolkit/win/Edit.h"
#include "toolkit/win/Form.h"
#include "toolkit/win/ShellTreeView.h"

namespace ui {

class TFSelectPath : public tk::Form {
 public:
  explicit TFSelectPath(tk::Component* owner);

  // Shown in the path box when the dialog is shown.
  std::string SeedPath;

  void FormShow();
  void Edit1Exit();
  void ShellTreeView1Change();
  // OK: closes with the folder of the path box, unless GBK cannot hold its name.
  void BitBtn2Click();

  tk::ShellTreeView* ShellTreeView1;
  tk::Edit* Edit1;
  tk::ComboBox* ComboBox1;
  tk::Button* BitBtn2;  // OK
  tk::Button* BitBtn1;  // Cancel
};

}  // namespace ui
