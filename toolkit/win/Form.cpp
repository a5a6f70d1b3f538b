// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-isdialogmessagew
#include "toolkit/win/Form.h"

#include "toolkit/core/DpiScale.h"
#include "toolkit/win/Application.h"
#include "toolkit/win/Button.h"
#include "toolkit/win/Dpi.h"

namespace tk {

Form::Form(Component* owner, const FormStyle& style) : Control(owner, nullptr), style_(style) {
  DWORD windowStyle = WS_CLIPCHILDREN;
  if (style.caption) {
    windowStyle |= WS_CAPTION | WS_SYSMENU;
    if (style.minimizeBox) windowStyle |= WS_MINIMIZEBOX;
  } else {
    windowStyle |= WS_POPUP;
  }
  const wchar_t* cls = RegisterOwnClass(kFormClassName, 0, GetSysColorBrush(COLOR_BTNFACE));
  CreateHandle(cls, windowStyle, WS_EX_CONTROLPARENT | (style.activates ? 0 : WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW));
  SetVisible(false);
  dpi_ = WindowDpi(hwnd_);
}

Form::~Form() {
  if (font_) {
    HFONT font = font_;
    font_ = nullptr;
    // Controls go first (Control's destructor), then the font they used.
    while (!Controls().empty()) delete Controls().back();
    DeleteObject(font);
  }
}

void Form::SetFormFont(const wchar_t* face, int pixelHeight, BYTE charset, bool bold) {
  fontSpec_ = FontSpec{face, pixelHeight, charset, bold};
  HFONT font = MakeFormFont();
  SetFont(font);
  if (font_) DeleteObject(font_);
  font_ = font;
}

HFONT Form::MakeFormFont() const {
  return CreateFontForDpi(fontSpec_.face.c_str(), fontSpec_.pixelHeight, fontSpec_.charset, fontSpec_.bold, dpi_);
}

void Form::SetOuterSize(int width, int height) {
  SetBounds(Left(), Top(), width, height);
  if (style_.centred) Centre();
}

void Form::SetClientSize(int width, int height) {
  RECT rect = {0, 0, ScaleToDpi(width, dpi_), ScaleToDpi(height, dpi_)};
  AdjustWindowRectForDpi(&rect, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
                         static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), dpi_);
  SetOuterSize(rect.right - rect.left, rect.bottom - rect.top);
}

void Form::ChangeDpi(int dpi, const RECT& suggested) {
  if (dpi <= 0) return;
  dpi_ = dpi;
  if (font_) {
    // Every control takes the new font before the old one goes.
    HFONT old = font_;
    font_ = MakeFormFont();
    SetFont(font_);
    for (Control* child : Controls()) child->RefreshFont();
    DeleteObject(old);
  }
  SetBounds(suggested.left, suggested.top, suggested.right - suggested.left, suggested.bottom - suggested.top);
  if (OnDpiChanged) OnDpiChanged();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form::Centre() {
  int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  SetBounds((screenWidth - Width()) / 2, (screenHeight - Height()) / 2, Width(), Height());
}

void Form::Show() {
  SetVisible(true);
  if (style_.activates) {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
  } else {
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  }
  if (OnShow) OnShow();
}

ModalResult Form::ShowModal() {
  modal_ = true;
  modalResult_ = ModalResult::None;
  // Owned by the window that was active, so it stays above it.
  HWND active = GetActiveWindow();
  if (active && active != hwnd_) SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(active));
  // Every other window of the program waits while this one is shown.
  std::vector<HWND> disabled;
  for (HWND window : Application::Instance()->TopLevelWindows())
    if (window != hwnd_ && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      disabled.push_back(window);
    }
  // However the form ends (an error in its OnShow or in the loop too), the other windows
  // come back and the form is no longer modal.
  struct Ending {
    Form& form;
    const std::vector<HWND>& disabled;
    ~Ending() {
      for (HWND window : disabled) EnableWindow(window, TRUE);
      form.SetVisible(false);
      form.modal_ = false;
    }
  } ending{*this, disabled};
  Show();
  Application::Instance()->RunModalLoop([this] { return modalResult_ != ModalResult::None; });
  return modalResult_ == ModalResult::None ? ModalResult::Cancel : modalResult_;
}

void Form::Close() {
  if (modal_) {
    modalResult_ = ModalResult::Cancel;
    return;
  }
  if (closing_) return;
  if (OnCloseQuery && !OnCloseQuery()) return;
  closing_ = true;
  try {
    if (OnClose) OnClose();
  } catch (...) {
    closing_ = false;
    throw;
  }
  closing_ = false;
  SetVisible(false);
  if (Application::Instance() && Application::Instance()->MainForm() == this) Application::Instance()->Terminate();
}

void Form::SetDefaultButton(Control* button) {
  if (auto* old = dynamic_cast<Button*>(defaultButton_)) old->SetDefaultLook(false);
  defaultButton_ = button;
  if (auto* now = dynamic_cast<Button*>(button)) now->SetDefaultLook(true);
}

void Form::Release() { PostMessageW(hwnd_, kReleaseMessage, 0, 0); }

// Runs the button's click without moving the focus (BM_CLICK would focus it, and the control
// that had the focus would see an exit).
void Form::PressButton(Control* button) {
  if (!button || !button->Enabled() || !button->Visible() || !IsWindowEnabled(button->Handle())) return;
  if (auto* push = dynamic_cast<Button*>(button))
    push->Click();
  else
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
}

bool Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_CLOSE:
      Close();
      *result = 0;
      return true;
    case WM_COMMAND:
      // IsDialogMessage turns Enter into IDOK and Esc into IDCANCEL.
      if (lParam == 0 || reinterpret_cast<HWND>(lParam) == hwnd_) {
        if (LOWORD(wParam) == IDOK) PressButton(defaultButton_);
        if (LOWORD(wParam) == IDCANCEL) {
          if (cancelButton_)
            PressButton(cancelButton_);
          else if (modal_)
            modalResult_ = ModalResult::Cancel;
        }
        *result = 0;
        return true;
      }
      return false;
    case kDpiChangedMessage:
      ChangeDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      *result = 0;
      return true;
    case WM_ACTIVATE:
      // A plain window does not give the focus back after a message box; do it as dialogs do.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) savedFocus_ = focus;
      } else if (savedFocus_ && IsWindow(savedFocus_) && IsChild(hwnd_, savedFocus_)) {
        ::SetFocus(savedFocus_);
        *result = 0;
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace tk
