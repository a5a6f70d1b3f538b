#include "ui/CurrentFolder.h"

#include <windows.h>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace ui {
namespace {

void SetCurrent(const std::wstring& folder) {
  if (!SetCurrentDirectoryW(folder.c_str())) {
    DWORD error = GetLastError();
    throw tk::EInOutError(tk::Format("无法进入目录 \"%s\"。%s", tk::FromWide(folder).c_str(),
                                     tk::SysErrorMessage(error).c_str()),
                          error);
  }
}

}  // namespace

CurrentFolder::CurrentFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH + 1, folder);
  remembered_ = folder;
}

void CurrentFolder::Change(const std::string& folder) { SetCurrent(tk::ToWide(folder)); }

void CurrentFolder::Restore() { SetCurrent(remembered_); }

void CurrentFolder::RestoreQuietly() noexcept { SetCurrentDirectoryW(remembered_.c_str()); }

}  // namespace ui
