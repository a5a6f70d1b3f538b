#include "common/win/WorkerRun.h"

#include <atomic>
#include <exception>
#include <thread>

#include "toolkit/win/Application.h"

namespace pub {
namespace {

// A thread timer: its WM_TIMER wakes the modal loop at the drain rate even when the window
// has nothing else to do. It carries no procedure and no window, so handling it does nothing.
class DrainTimer {
 public:
  DrainTimer() : id_(SetTimer(nullptr, 0, kDrainIntervalMs, nullptr)) {}
  ~DrainTimer() {
    if (id_) KillTimer(nullptr, id_);
  }
  DrainTimer(const DrainTimer&) = delete;
  DrainTimer& operator=(const DrainTimer&) = delete;

 private:
  UINT_PTR id_;
};

// SetThreadDescription is looked up: Windows before 10 has none, and the run goes on unnamed.
void NameThisThread() {
  using Describe = HRESULT(WINAPI*)(HANDLE, PCWSTR);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto describe = kernel ? reinterpret_cast<Describe>(
                               reinterpret_cast<void*>(GetProcAddress(kernel, "SetThreadDescription")))
                         : nullptr;
  if (describe) describe(GetCurrentThread(), kWorkerThreadName);
}

}  // namespace

void RunOnWorker(const std::function<void(ProgressQueue& progress)>& work, Progress& display) {
  ProgressQueue queue;
  std::atomic<bool> ended{false};
  std::exception_ptr escaped;
  // std::thread rather than CreateThread: the queue's std::mutex already needs the posix thread
  // model, and join and exception_ptr give the ending and the error back without more code.
  std::thread worker([&] {
    NameThisThread();
    try {
      work(queue);
    } catch (...) {
      escaped = std::current_exception();
    }
    ended = true;
  });
  // Nothing may leave before the worker has been joined: an error of the display is held until
  // then, and the work's own error goes first.
  std::exception_ptr displayError;
  try {
    tk::Application* application = tk::Application::Instance();
    if (application && application->OnItsThread()) {
      DrainTimer timer;
      // Ends early only when the application is ending (WM_QUIT); the worker is waited for below.
      application->RunModalLoop([&] {
        queue.DrainInto(display);
        return ended.load();
      });
    }
  } catch (...) {
    displayError = std::current_exception();
  }
  worker.join();
  try {
    while (queue.DrainInto(display)) {
    }
  } catch (...) {
    if (!displayError) displayError = std::current_exception();
  }
  if (escaped) std::rethrow_exception(escaped);
  if (displayError) std::rethrow_exception(displayError);
}

}  // namespace pub
