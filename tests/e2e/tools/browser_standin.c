/* Stands in for a web browser that the shell starts for an address: appends
 * "process id|current folder|address" (UTF-8) to the file its first argument names, then keeps
 * running for at most two minutes, as a browser window stays open (the test ends it sooner).
 * Usage: browser_standin LOG_FILE ADDRESS */
#include <windows.h>

#include <stdio.h>

int wmain(int argc, wchar_t** argv) {
  wchar_t folder[MAX_PATH + 1] = {0};
  wchar_t line[4 * MAX_PATH];
  char utf8[16 * MAX_PATH];
  int length;
  FILE* log;
  if (argc < 3) return 2;
  GetCurrentDirectoryW(MAX_PATH + 1, folder);
  _snwprintf(line, sizeof line / sizeof line[0] - 1, L"%lu|%ls|%ls\n", GetCurrentProcessId(), folder, argv[2]);
  line[sizeof line / sizeof line[0] - 1] = 0;
  length = WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8, sizeof utf8, NULL, NULL);
  log = _wfopen(argv[1], L"ab");
  if (!log || length <= 1) return 1;
  fwrite(utf8, 1, (size_t)(length - 1), log);
  fclose(log);
  Sleep(120000);
  return 0;
}
