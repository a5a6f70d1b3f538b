#include "common/win/WorkerRun.h"

#include <atomic>
#include <exception>
#include <thread>

#include "toolkit/win/Application.h"

namespace pub {
namespace {

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
      // Messages are handled as they come, sent ones too (a broadcast from the work reaches our
      // windows here), and the reports every kDrainIntervalMs, until the work has ended. This
      // goes on when the application is ending meanwhile: the walks let messages run as well.
      DWORD drainedAt = GetTickCount();
      while (!ended) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kDrainIntervalMs, QS_ALLINPUT);
        application->ProcessMessages();
        if (GetTickCount() - drainedAt < kDrainIntervalMs) continue;
        queue.DrainInto(display);
        drainedAt = GetTickCount();
      }
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
