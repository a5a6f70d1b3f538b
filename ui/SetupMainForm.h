// The wizard window, the program's main window.
#pragma once

#include <string>

#include "toolkit/win/Form.h"

namespace ui {

// Address of the product's download site, named in the missing-package message.
constexpr const char* kDownloadSite = "http://www.quarn.cn/download/";

class TfSetupMainForm : public tk::Form {
 public:
  explicit TfSetupMainForm(tk::Component* owner);

  void FormCreate();
  void FormShow();
  void FormClose();
};

}  // namespace ui
