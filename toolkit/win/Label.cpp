#include "toolkit/win/Label.h"

namespace tk {

Label::Label(Component* owner, Control* parent) : Control(owner, parent) {
  CreateHandle(L"STATIC", SS_LEFT | SS_NOPREFIX, 0);
}

// An unchanged caption is left alone: loops set the same text once per file.
void Label::SetCaption(const std::string& caption) {
  if (caption == Caption()) return;
  Control::SetCaption(caption);
  Repaint();
}

bool Label::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  return message == WM_CTLCOLORSTATIC && AnswerColor(wParam, result);
}

}  // namespace tk
