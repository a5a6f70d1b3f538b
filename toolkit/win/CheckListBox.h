// A list of items, each with a check box: an owner-drawn list box. Space or a click on the box
// toggles an item.
// https://learn.microsoft.com/windows/win32/controls/list-boxes
#pragma once

#include <string>
#include <vector>

#include "toolkit/win/Control.h"

namespace tk {

class CheckListBox : public Control {
 public:
  CheckListBox(Component* owner, Control* parent);

  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& Item(int index) const { return items_.at(static_cast<size_t>(index)).text; }
  bool Checked(int index) const { return items_.at(static_cast<size_t>(index)).checked; }
  void SetChecked(int index, bool checked);
  void Add(const std::string& text);
  void Clear();

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  struct Entry {
    std::string text;
    bool checked;
  };
  void Toggle(int index);
  std::vector<Entry> items_;
};

}  // namespace tk
