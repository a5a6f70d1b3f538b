// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-formatmessagew
#include <windows.h>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace tk {

std::string SysErrorMessage(uint32_t errorCode) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                           text.back() == L'.'))
    text.pop_back();
  if (text.empty()) return Format("系统错误，代码: %u", static_cast<unsigned>(errorCode));
  return FromWide(text);
}

uint32_t LastSysError() { return GetLastError(); }

}  // namespace tk
