// The splash: a borderless window in the centre of the screen, filled by one picture.
#pragma once

#include "toolkit/win/Form.h"
#include "toolkit/win/Image.h"

namespace ui {

class TFStartupPicForm : public tk::Form {
 public:
  explicit TFStartupPicForm(tk::Component* owner);

  tk::Image* Image1;

 private:
  void FillWithPicture();
};

}  // namespace ui
