// https://learn.microsoft.com/windows/win32/api/synchapi/nf-synchapi-createmutexw
#include "app/SingleInstance.h"

#include <string>

#include "toolkit/core/CodePage.h"
#include "ui/SetupMainForm.h"

namespace app {

SingleInstance::SingleInstance() {
  wchar_t user[256] = L"";
  DWORD length = 256;
  GetUserNameW(user, &length);
  std::wstring name = std::wstring(L"Local\\QuarnSetup.") + user;
  mutex_ = CreateMutexW(nullptr, FALSE, name.c_str());
  first_ = !(mutex_ && GetLastError() == ERROR_ALREADY_EXISTS);
}

SingleInstance::~SingleInstance() {
  if (mutex_) CloseHandle(mutex_);
}

void SingleInstance::ActivateRunningCopy() {
  HWND window = FindWindowW(tk::kFormClassName, tk::ToWide(ui::kMainFormCaption).c_str());
  if (!window) return;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
}

}  // namespace app
