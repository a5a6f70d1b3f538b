// The folder picker dialog.
#pragma once

#include "toolkit/win/Form.h"

namespace ui {

class TFSelectPath : public tk::Form {
 public:
  explicit TFSelectPath(tk::Component* owner);
};

}  // namespace ui
