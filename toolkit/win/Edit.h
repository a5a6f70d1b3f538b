// A one-line text box. Its text is the control's caption.
// https://learn.microsoft.com/windows/win32/controls/edit-controls
#pragma once

#include "toolkit/win/Control.h"

namespace tk {

class Edit : public Control {
 public:
  Edit(Component* owner, Control* parent);
  std::string Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }
  // Whether GBK holds the text exactly: a user may type, and the shell may report, names with
  // characters it lacks, which Text() turns into '?'.
  bool TextIsGbk() const;
  // Shows a name the system gives as it is, even one GBK cannot hold.
  void SetWideText(const std::wstring& text);
};

}  // namespace tk
