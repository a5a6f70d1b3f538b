#include "tests/e2e/driver/Wait.h"

#include <windows.h>

namespace e2e {

void Pause(unsigned milliseconds) {
  DWORD end = GetTickCount() + milliseconds;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    DWORD now = GetTickCount();
    if (static_cast<int>(end - now) <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
  }
}

bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return condition();
    Pause(50);
  }
}

}  // namespace e2e
