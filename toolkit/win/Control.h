// A window control: an HWND with a parent, bounds in pixels, Visible, Enabled, a GBK caption,
// an explicit tab order among its siblings, and OnExit. One window procedure serves every
// control: it finds the object through a window property, hands the message to HandleMessage,
// reflects parent notifications back to the child that sent them, and lets no exception out.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/core/Component.h"
#include "toolkit/win/Colors.h"

namespace tk {

class Form;

class Control : public Component {
 public:
  ~Control() override;

  HWND Handle() const { return hwnd_; }
  Control* Parent() const { return parent_; }
  static Control* FromHandle(HWND hwnd);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetBounds(int left, int top, int width, int height);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::string Caption() const;
  virtual void SetCaption(const std::string& caption);

  // Position among the parent's children in keyboard order; setting it renumbers the others.
  int TabOrder() const;
  void SetTabOrder(int order);
  // Children in creation order, and in tab order.
  const std::vector<Control*>& Controls() const { return children_; }

  // Background colour; kInheritColor takes the parent's, and a form's default is the dialog face.
  void SetColor(COLORREF color);
  COLORREF BackgroundColor() const;
  // Text colour, bold and size of this control's own font (0 keeps the form's size); the size
  // is in design pixels (at 96 DPI) and the font is made for the form's DPI.
  void SetFontStyle(COLORREF textColor, bool bold = false, int pixelHeight = 0);
  // After the form's font was made for a new DPI: this control and its children take it, or
  // their own style made anew from it.
  void RefreshFont();
  COLORREF TextColor() const { return textColor_; }

  // Moves the control, with its children, under another parent; it goes last in tab order.
  void SetParentControl(Control* parent);

  Form* ParentForm();
  bool Focused() const { return GetFocus() == hwnd_; }
  void SetFocus();
  // Invalidates and paints at once, as a long run does not return to the message loop.
  void Repaint();
  void SetFont(HFONT font);

  // Fires after the focus moved from this control to another control of the same form;
  // a message box or another program taking the focus is no exit.
  std::function<void()> OnExit;

 protected:
  Control(Component* owner, Control* parent);
  // Makes the window. A system class (BUTTON, EDIT ...) is subclassed; our own classes use the
  // shared procedure directly.
  void CreateHandle(const wchar_t* className, DWORD style, DWORD exStyle, HWND parentWindow = nullptr);
  // Own messages; return true when handled and *result holds the answer.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and WM_CTLCOLOR* sent by this control to its parent.
  virtual bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The window's text as it is, before Caption() turns what GBK cannot hold into '?'.
  std::wstring WideCaption() const;
  // The answer to WM_CTLCOLOR*: this control's text and background colours on its DC.
  bool AnswerColor(WPARAM dc, LRESULT* result) const;
  void SetHandleBoundsFromFields();
  // A class of our own with the shared procedure, registered once.
  static const wchar_t* RegisterOwnClass(const wchar_t* name, UINT style, HBRUSH background);

  static LRESULT CALLBACK OwnClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  bool subclassed_ = false;

 private:
  void ApplyTabOrder();

  Control* parent_;
  std::vector<Control*> children_;
  std::vector<Control*> tabList_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  COLORREF color_ = kInheritColor;
  COLORREF textColor_ = 0;
  bool fontBold_ = false;
  int fontPixelHeight_ = 0;
  HFONT ownFont_ = nullptr;
};

// Posted to a control whose OnExit is due, once the focus has moved.
constexpr UINT kExitMessage = WM_APP + 1;
// Posted to a form asked to Release itself.
constexpr UINT kReleaseMessage = WM_APP + 2;

}  // namespace tk
