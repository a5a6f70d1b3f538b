#include "tools/standins/NeverEnd.h"

#include <windows.h>

#include <string>

namespace standin {

void NeverEndWhenAsked() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"QUARN_STANDIN_NEVER_END", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  // Tools stuck side by side (a removal's) take turns at the file.
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 500 && file == INVALID_HANDLE_VALUE; ++attempt) {
    file = CreateFileW(path, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Sleep(10);
  }
  if (file != INVALID_HANDLE_VALUE) {
    const std::string line = std::to_string(GetCurrentProcessId()) + "\r\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
  }
  Sleep(INFINITE);
}

}  // namespace standin
