#include "toolkit/win/Application.h"

#include <commctrl.h>
#include <objbase.h>

#include "toolkit/core/Errors.h"
#include "toolkit/win/CommonControls.h"
#include "toolkit/win/Dialogs.h"
#include "toolkit/win/Form.h"

namespace tk {

Application* Application::instance_ = nullptr;

Application::Application() : Component(nullptr) { instance_ = this; }

Application::~Application() {
  DestroyComponents();
  if (comInitialized_) CoUninitialize();
  if (instance_ == this) instance_ = nullptr;
}

void Application::Initialize() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  CommonControlsFunctions().InitCommonControlsEx(&controls);
  comInitialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

void Application::Run() {
  if (!mainForm_) return;
  try {
    mainForm_->Show();
  } catch (const std::exception& error) {
    HandleException(error);
  }
  RunModalLoop([] { return false; });
}

void Application::RunModalLoop(const std::function<bool()>& done) {
  MSG message;
  while (!terminated_ && !done()) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      terminated_ = true;
      break;
    }
    if (got < 0) break;
    HandleOneMessage(message);
  }
}

void Application::ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    HandleOneMessage(message);
  }
}

void Application::HandleOneMessage(MSG& message) {
  // Tab, Enter and Esc work in our forms as in dialogs.
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root && dynamic_cast<Form*>(Control::FromHandle(root)) && IsDialogMessageW(root, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void Application::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

void Application::HandleException(const std::exception& error) {
  try {
    ShowMessage(MessageKind::Error, error.what());
  } catch (...) {
    // Nothing more can be said about an error whose report failed.
  }
}

namespace {
BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM list) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}
}  // namespace

std::vector<HWND> Application::TopLevelWindows() const {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectVisibleWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace tk
