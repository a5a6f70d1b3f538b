// What a control of our own class tells a screen reader: a name, a role, a value and a state,
// through the IAccessible object it gives in answer to WM_GETOBJECT. Everything else (where it
// is, its parent, focus, navigation) comes from the system's standard object for the window.
// https://learn.microsoft.com/windows/win32/winauto/handling-the-wm-getobject-message
// https://learn.microsoft.com/windows/win32/api/oleacc/nn-oleacc-iaccessible
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>

namespace tk {

class Control;

// The control's own part of the answer; the window's state (focus, unavailable, hidden) is the
// system's, and these state bits are added to it.
struct AccessibleDescription {
  long role = ROLE_SYSTEM_CLIENT;
  long state = 0;  // STATE_SYSTEM_* bits
  // Makes the value (GBK) when a client asks for it, and only then: a memo's is every line.
  // None: the control has no value.
  std::function<std::string()> value;
};

class AccessibleObject;

// Owned by a control: makes its accessible object when a client first asks, and cuts it off
// from the control when the control goes, so that a client still holding it is told the
// object is no longer connected instead of reaching a deleted control. Single-threaded, like
// the window it serves: every call reaches it on the window's thread.
class AccessibleClient {
 public:
  explicit AccessibleClient(std::function<AccessibleDescription()> describe);
  ~AccessibleClient();
  AccessibleClient(const AccessibleClient&) = delete;
  AccessibleClient& operator=(const AccessibleClient&) = delete;

  // The name to give (GBK). Without one the window's text is the name, and without that the
  // text of the label just before the control (its previous sibling in z-order and tab order).
  void SetName(const std::string& name) { name_ = name; }
  const std::string& Name() const { return name_; }
  AccessibleDescription Describe() const { return describe_(); }

  // WM_GETOBJECT: true with *result set when the client area's object was asked for; false
  // for any other object, and when oleacc.dll cannot be had, for the default procedure.
  bool Answer(HWND hwnd, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // The object stops answering for the control; done by the destructor too.
  void Disconnect();

 private:
  std::function<AccessibleDescription()> describe_;
  std::string name_;
  AccessibleObject* object_ = nullptr;
};

// Makes label the name of named: a screen reader takes the static text just before a control
// in z-order as its name, and the z-order follows the tab order, so the label moves to just
// before the control there. Labels take no focus: the keyboard's order stays as it was.
// Nothing is done for controls of different parents.
void AssociateLabel(Control& label, Control& named);

// Tells listening screen readers that a control's value changed (EVENT_OBJECT_VALUECHANGE on
// its client area). Callers raise it when the value a reader would say has changed, not per
// step of a run.
void NotifyValueChanged(HWND hwnd);

}  // namespace tk
