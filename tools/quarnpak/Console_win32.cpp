// A console shows UTF-16 whatever its code page; output to a file or pipe stays UTF-8 bytes.
// https://learn.microsoft.com/windows/console/writeconsole
#include <windows.h>

#include <cstdio>

#include "toolkit/core/CodePage.h"
#include "tools/quarnpak/Console.h"

namespace qp {
namespace {

void WriteLine(FILE* stream, DWORD handleId, const std::string& utf8) {
  HANDLE handle = GetStdHandle(handleId);
  DWORD mode;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    std::wstring wide = tk::Utf8ToWide(utf8 + "\n");
    DWORD written;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  std::fputs(utf8.c_str(), stream);
  std::fputs("\n", stream);
}

}  // namespace

void PrintLine(const std::string& utf8) { WriteLine(stdout, STD_OUTPUT_HANDLE, utf8); }

void PrintError(const std::string& utf8) {
  std::fflush(stdout);
  WriteLine(stderr, STD_ERROR_HANDLE, "quarnpak: " + utf8);
  std::fflush(stderr);
}

}  // namespace qp
