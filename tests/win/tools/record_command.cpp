// Stands in for a command-line tool in tests: appends "current folder | command line" to the
// file named by QUARN_RECORD_LOG, then exits 0.
#include <windows.h>

#include <cstdio>

int wmain() {
  wchar_t log[MAX_PATH], folder[MAX_PATH];
  if (!GetEnvironmentVariableW(L"QUARN_RECORD_LOG", log, MAX_PATH)) return 0;
  GetCurrentDirectoryW(MAX_PATH, folder);
  FILE* file = _wfopen(log, L"a, ccs=UTF-8");
  if (!file) return 1;
  fwprintf(file, L"%ls | %ls\n", folder, GetCommandLineW());
  fclose(file);
  return 0;
}
