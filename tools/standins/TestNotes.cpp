#include "tools/standins/TestNotes.h"

#include <windows.h>

namespace standin {

bool AppendNote(const wchar_t* variable, const std::string& line) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(variable, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 500 && file == INVALID_HANDLE_VALUE; ++attempt) {
    file = CreateFileW(path, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Sleep(10);
  }
  if (file == INVALID_HANDLE_VALUE) return true;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return true;
}

void NoteConsoleWhenAsked(const std::string& name) {
  // Not asked: the console is not even looked at, so the tool runs exactly as without the switch.
  if (GetEnvironmentVariableW(L"QUARN_STANDIN_CONSOLES", nullptr, 0) == 0) return;
  const HWND window = GetConsoleWindow();
  AppendNote(L"QUARN_STANDIN_CONSOLES", name + (window && IsWindowVisible(window) ? ": shown" : ": no window"));
}

}  // namespace standin
