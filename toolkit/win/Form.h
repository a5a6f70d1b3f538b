// A top-level window: caption, outer bounds, centring, a shared font for its controls, the
// default button (Enter) and cancel button (Esc), modal showing, Close through OnClose, and a
// deferred Release. It remembers its focused control while another window is active.
#pragma once

#include <functional>
#include <string>

#include "toolkit/win/Control.h"

namespace tk {

// The window class of every form: another copy of the program finds its window by it.
constexpr const wchar_t* kFormClassName = L"QuarnForm";

enum class ModalResult { None = 0, Ok = 1, Cancel = 2 };

struct FormStyle {
  bool caption = true;      // title bar with the system menu
  bool minimizeBox = true;  // and a minimise button; never a maximise button
  bool centred = true;      // else placed at its designed position
  // False for a window that only shows something (a splash): it never takes the activation,
  // so no message box gets it as owner and goes away with it.
  bool activates = true;
};

class Form : public Control {
 public:
  Form(Component* owner, const FormStyle& style = FormStyle());
  ~Form() override;

  HFONT Font() const { return font_; }
  // Makes the font of the form and of every control created afterwards; the height is in
  // design pixels (at 96 DPI), and the font is made anew for each DPI the window moves to.
  void SetFormFont(const wchar_t* face, int pixelHeight, BYTE charset, bool bold = false);
  // Outer size in pixels; placed in the centre of the screen when the style says so.
  void SetOuterSize(int width, int height);
  // Client size in design pixels, shown at the window's DPI.
  void SetClientSize(int width, int height);

  // The DPI the window is shown at; it follows the window to a monitor of another scale.
  int Dpi() const { return dpi_; }

  void Show();
  ModalResult ShowModal();
  bool Modal() const { return modal_; }
  void SetModalResult(ModalResult result) { modalResult_ = result; }
  ModalResult GetModalResult() const { return modalResult_; }
  // A modal form ends with Cancel; otherwise OnClose runs and the form hides (the main form's
  // closing ends the application).
  void Close();
  // Destroys the form when the message loop next handles the request.
  void Release();

  // Shown with the default frame when it is a Button.
  void SetDefaultButton(Control* button);
  void SetCancelButton(Control* button) { cancelButton_ = button; }
  Control* DefaultButton() const { return defaultButton_; }
  Control* CancelButton() const { return cancelButton_; }

  // A control the form owns, by name (the names its layout gave); null when there is none,
  // also after its page was released.
  Control* FindControl(const std::string& name) const { return dynamic_cast<Control*>(FindComponent(name)); }
  template <typename T>
  T* Bind(const std::string& name) const {
    return dynamic_cast<T*>(FindControl(name));
  }

  std::function<void()> OnShow;
  // Asked first on every Close; false keeps the form open and runs no OnClose.
  std::function<bool()> OnCloseQuery;
  std::function<void()> OnClose;
  // After the window moved to another DPI: its size and fonts are made for it; the form lays
  // its controls out again here.
  std::function<void()> OnDpiChanged;

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  void Centre();
  void PressButton(Control* button);
  // The window at a new DPI: the suggested outer rectangle as the system gives it, fonts made
  // anew, then OnDpiChanged.
  void ChangeDpi(int dpi, const RECT& suggested);
  HFONT MakeFormFont() const;

  FormStyle style_;
  HFONT font_ = nullptr;
  struct FontSpec {
    std::wstring face;
    int pixelHeight = 0;
    BYTE charset = DEFAULT_CHARSET;
    bool bold = false;
  } fontSpec_;
  int dpi_ = 96;
  HWND savedFocus_ = nullptr;
  Control* defaultButton_ = nullptr;
  Control* cancelButton_ = nullptr;
  bool modal_ = false;
  bool closing_ = false;
  ModalResult modalResult_ = ModalResult::None;
};

}  // namespace tk
