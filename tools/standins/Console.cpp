#include "tools/standins/Console.h"

#include <cstdio>

#include "toolkit/core/CodePage.h"

namespace standin {
namespace {

void WriteLine(DWORD handleId, FILE* stream, const std::wstring& text) {
  std::wstring line = text + L"\n";
  HANDLE handle = GetStdHandle(handleId);
  DWORD mode, written;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    WriteConsoleW(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return;
  }
  std::string utf8 = tk::WideToUtf8(line);
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fflush(stream);
}

std::wstring ProgramName() {
  std::wstring name = OwnPath();
  size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".exe") == 0) name.resize(name.size() - 4);
  return name;
}

}  // namespace

std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

void PrintLine(const std::wstring& text) { WriteLine(STD_OUTPUT_HANDLE, stdout, text); }

void PrintError(const std::wstring& text) {
  std::fflush(stdout);
  WriteLine(STD_ERROR_HANDLE, stderr, ProgramName() + L": " + text);
}

std::wstring SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return text + L" (error " + std::to_wstring(code) + L")";
}

}  // namespace standin
