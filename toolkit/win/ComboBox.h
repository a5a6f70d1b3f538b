// An editable drop-down list: the text box can be typed into or filled from the list.
// https://learn.microsoft.com/windows/win32/controls/combo-boxes
#pragma once

#include <string>

#include "toolkit/win/Control.h"

namespace tk {

class ComboBox : public Control {
 public:
  ComboBox(Component* owner, Control* parent);

  void AddItem(const std::string& text);
  int ItemCount() const;
  std::string Item(int index) const;
  int ItemIndex() const;
  void SetItemIndex(int index);
  std::string Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }
};

}  // namespace tk
