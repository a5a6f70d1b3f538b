#include "toolkit/win/ProgramPath.h"

#include <windows.h>

namespace tk {

std::wstring ProgramPath() {
  std::wstring path(32768, L'\0');
  DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
  path.resize(length < path.size() ? length : 0);
  return path;
}

}  // namespace tk
