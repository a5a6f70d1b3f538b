// The application object: owns the forms, makes the first created form the main form, runs
// the message loop (with dialog keyboard handling for our forms), processes pending messages
// on request, and is the default handler of errors that reach a window procedure.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <utility>
#include <vector>

#include "toolkit/core/Component.h"

namespace tk {

class Form;

class Application : public Component {
 public:
  Application();
  ~Application() override;
  static Application* Instance() { return instance_; }
  // Whether the caller runs on the thread that made the application, the one thread that may
  // handle its windows' messages.
  bool OnItsThread() const { return GetCurrentThreadId() == threadId_; }

  // Common controls (version 6), COM for the imaging component.
  void Initialize();
  // The form is made with this application as its owner, then the arguments given.
  template <class T, class... Arguments>
  T* CreateForm(Arguments&&... arguments) {
    T* form = new T(this, std::forward<Arguments>(arguments)...);
    if (!mainForm_) mainForm_ = form;
    return form;
  }
  Form* MainForm() const { return mainForm_; }
  // Shows the main form, then handles messages until the main form has closed.
  void Run();
  // Handles every pending message, then returns.
  void ProcessMessages();
  // Handles messages until done() says so or the application is terminating.
  void RunModalLoop(const std::function<bool()>& done);
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The default error handler: an error box with the error's message; the program goes on.
  static void HandleException(const std::exception& error);

  // The visible top-level windows of this thread.
  std::vector<HWND> TopLevelWindows() const;

 private:
  void HandleOneMessage(MSG& message);

  static Application* instance_;
  Form* mainForm_ = nullptr;
  bool terminated_ = false;
  bool comInitialized_ = false;
  DWORD threadId_ = GetCurrentThreadId();
};

}  // namespace tk
