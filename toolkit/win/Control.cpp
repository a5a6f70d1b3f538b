// https://learn.microsoft.com/windows/win32/controls/subclassing-overview
#include "toolkit/win/Control.h"

#include <commctrl.h>

#include <algorithm>
#include <set>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/DpiScale.h"
#include "toolkit/core/Errors.h"
#include "toolkit/win/Application.h"
#include "toolkit/win/CommonControls.h"
#include "toolkit/win/Form.h"

namespace tk {
namespace {

const wchar_t kControlProperty[] = L"QuarnControl";
const UINT_PTR kSubclassId = 1;

UINT_PTR NextControlId() {
  static UINT_PTR next = 1000;  // clear of IDOK and IDCANCEL, which IsDialogMessage sends
  return next++;
}

HWND ReflectionSource(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
      return reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM:
      return reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return reinterpret_cast<HWND>(lParam);
    default:
      return nullptr;
  }
}

template <typename Call>
LRESULT Guarded(Call call) {
  try {
    return call();
  } catch (const std::exception& error) {
    Application::HandleException(error);
  } catch (...) {
    Application::HandleException(Exception("未知错误"));
  }
  return 0;
}

}  // namespace

Control::Control(Component* owner, Control* parent) : Component(owner), parent_(parent) {
  if (parent_) {
    parent_->children_.push_back(this);
    parent_->tabList_.push_back(this);
  }
}

Control::~Control() {
  // A windowed control takes its child controls with it, the last created first.
  while (!children_.empty()) delete children_.back();
  if (ownFont_) DeleteObject(ownFont_);
  if (hwnd_) {
    HWND hwnd = hwnd_;
    RemovePropW(hwnd, kControlProperty);
    if (subclassed_) CommonControlsFunctions().RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
  }
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    auto& tabs = parent_->tabList_;
    tabs.erase(std::remove(tabs.begin(), tabs.end(), this), tabs.end());
  }
}

Control* Control::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Control*>(GetPropW(hwnd, kControlProperty)) : nullptr;
}

const wchar_t* Control::RegisterOwnClass(const wchar_t* name, UINT style, HBRUSH background) {
  static std::set<std::wstring> registered;
  if (registered.insert(name).second) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = OwnClassProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(wc.hInstance, L"MAINICON");
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc)) throw EInvalidOperation("无法注册窗口类");
  }
  return name;
}

void Control::CreateHandle(const wchar_t* className, DWORD style, DWORD exStyle, HWND parentWindow) {
  HWND parentHandle = parent_ ? parent_->hwnd_ : parentWindow;
  if (parent_) style |= WS_CHILD;
  if (visible_ && parent_) style |= WS_VISIBLE;
  HMENU id = parent_ ? reinterpret_cast<HMENU>(NextControlId()) : nullptr;
  hwnd_ = CreateWindowExW(exStyle, className, L"", style, left_, top_, width_, height_, parentHandle, id,
                          GetModuleHandleW(nullptr), this);
  if (!hwnd_) throw EInvalidOperation(Format("无法创建窗口: %s", SysErrorMessage(GetLastError()).c_str()));
  if (!GetPropW(hwnd_, kControlProperty)) {  // a system class: bind and subclass it
    SetPropW(hwnd_, kControlProperty, this);
    CommonControlsFunctions().SetWindowSubclass(hwnd_, SubclassProc, kSubclassId, 0);
    subclassed_ = true;
  }
  if (Form* form = ParentForm(); form && form != this && form->Font()) SetFont(form->Font());
  if (parent_) parent_->ApplyTabOrder();
}

LRESULT CALLBACK Control::OwnClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<Control*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->hwnd_ = hwnd;
    SetPropW(hwnd, kControlProperty, created);
  }
  Control* control = FromHandle(hwnd);
  if (!control) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == kReleaseMessage) {
    delete control;  // nothing may touch the object after this
    return 0;
  }
  if (message == WM_NCDESTROY) {
    RemovePropW(hwnd, kControlProperty);
    control->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return Guarded([&] { return control->Dispatch(message, wParam, lParam); });
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR) {
  Control* control = FromHandle(hwnd);
  if (!control || message == WM_NCDESTROY) {
    if (control) control->hwnd_ = nullptr;
    RemovePropW(hwnd, kControlProperty);
    CommonControlsFunctions().RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
    return CommonControlsFunctions().DefSubclassProc(hwnd, message, wParam, lParam);
  }
  return Guarded([&] { return control->Dispatch(message, wParam, lParam); });
}

LRESULT Control::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HWND source = ReflectionSource(message, wParam, lParam); source && source != hwnd_) {
    Control* child = FromHandle(source);
    if (child && child->HandleReflected(message, wParam, lParam, &result)) return result;
  }
  if (message == WM_KILLFOCUS && OnExit) {
    HWND to = reinterpret_cast<HWND>(wParam);
    Form* form = ParentForm();
    if (to && form && to != hwnd_ && !IsChild(hwnd_, to) && IsChild(form->Handle(), to))
      PostMessageW(hwnd_, kExitMessage, 0, 0);
  }
  if (message == kExitMessage) {
    if (OnExit) OnExit();
    return 0;
  }
  if (HandleMessage(message, wParam, lParam, &result)) return result;
  return DefaultProc(message, wParam, lParam);
}

bool Control::HandleMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }
bool Control::HandleReflected(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

bool Control::AnswerColor(WPARAM wParam, LRESULT* result) const {
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, TextColor());
  SetBkColor(dc, BackgroundColor());
  *result = reinterpret_cast<LRESULT>(SolidBrush(BackgroundColor()));
  return true;
}

LRESULT Control::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return subclassed_ ? CommonControlsFunctions().DefSubclassProc(hwnd_, message, wParam, lParam)
                     : DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Control::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  SetHandleBoundsFromFields();
}

void Control::SetHandleBoundsFromFields() {
  if (hwnd_) MoveWindow(hwnd_, left_, top_, width_, height_, TRUE);
}

void Control::SetVisible(bool visible) {
  visible_ = visible;
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!hwnd_) return;
  // A disabled control loses the focus, and keys would then reach no control at all: the
  // focus moves on to the next enabled control of the form, as a dialog's does.
  const bool hadFocus = !enabled && GetFocus() == hwnd_;
  EnableWindow(hwnd_, enabled);
  if (!hadFocus) return;
  HWND form = GetAncestor(hwnd_, GA_ROOT);
  HWND next = form ? GetNextDlgTabItem(form, hwnd_, FALSE) : nullptr;
  if (next && next != hwnd_ && IsWindowEnabled(next)) ::SetFocus(next);
}

std::string Control::Caption() const { return FromWide(WideCaption()); }

std::wstring Control::WideCaption() const {
  if (!hwnd_) return std::wstring();
  int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, &text[0], length + 1)));
  return text;
}

void Control::SetCaption(const std::string& caption) {
  if (hwnd_) SetWindowTextW(hwnd_, ToWide(caption).c_str());
}

int Control::TabOrder() const {
  if (!parent_) return -1;
  const auto& tabs = parent_->tabList_;
  return static_cast<int>(std::find(tabs.begin(), tabs.end(), this) - tabs.begin());
}

void Control::SetTabOrder(int order) {
  if (!parent_) return;
  auto& tabs = parent_->tabList_;
  tabs.erase(std::remove(tabs.begin(), tabs.end(), this), tabs.end());
  order = std::max(0, std::min(order, static_cast<int>(tabs.size())));
  tabs.insert(tabs.begin() + order, this);
  parent_->ApplyTabOrder();
}

// The keyboard walks siblings in z-order, so the tab list becomes the z-order.
void Control::ApplyTabOrder() {
  HWND previous = HWND_TOP;
  for (Control* child : tabList_) {
    if (!child->hwnd_) continue;
    SetWindowPos(child->hwnd_, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    previous = child->hwnd_;
  }
}

void Control::SetColor(COLORREF color) {
  color_ = color;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

COLORREF Control::BackgroundColor() const {
  for (const Control* c = this; c; c = c->parent_)
    if (c->color_ != kInheritColor) return c->color_;
  return GetSysColor(COLOR_BTNFACE);
}

void Control::SetFontStyle(COLORREF textColor, bool bold, int pixelHeight) {
  textColor_ = textColor;
  fontBold_ = bold;
  fontPixelHeight_ = pixelHeight;
  if (!bold && pixelHeight == 0) return;  // the form's font, only another colour
  Form* form = ParentForm();
  LOGFONTW font = {};
  if (form && form->Font()) GetObjectW(form->Font(), sizeof font, &font);
  if (bold) font.lfWeight = FW_BOLD;
  if (pixelHeight) font.lfHeight = -ScaleToDpi(pixelHeight, form ? form->Dpi() : kDesignDpi);
  HFONT made = CreateFontIndirectW(&font);
  SetFont(made);
  if (ownFont_) DeleteObject(ownFont_);
  ownFont_ = made;
}

void Control::RefreshFont() {
  Form* form = ParentForm();
  if (ownFont_)
    SetFontStyle(textColor_, fontBold_, fontPixelHeight_);
  else if (form && form->Font())
    SetFont(form->Font());
  for (Control* child : children_) child->RefreshFont();
}

void Control::SetParentControl(Control* parent) {
  if (!parent || parent == parent_ || !parent_) return;
  auto& siblings = parent_->children_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  auto& tabs = parent_->tabList_;
  tabs.erase(std::remove(tabs.begin(), tabs.end(), this), tabs.end());
  parent_ = parent;
  parent_->children_.push_back(this);
  parent_->tabList_.push_back(this);
  if (hwnd_) ::SetParent(hwnd_, parent_->hwnd_);
  parent_->ApplyTabOrder();
}

Form* Control::ParentForm() {
  Control* top = this;
  while (top->parent_) top = top->parent_;
  return dynamic_cast<Form*>(top);
}

void Control::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

void Control::Repaint() {
  if (!hwnd_) return;
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
}

void Control::SetFont(HFONT font) {
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

}  // namespace tk
