// Stands in for a command-line tool in tests: appends "current folder | command line" to the
// file named by QUARN_RECORD_LOG, then exits 0. Recorders started at once take turns: each
// holds the file alone while it appends, so no line overwrites another's.
#include <windows.h>

#include <cstdio>
#include <share.h>

int wmain() {
  wchar_t log[MAX_PATH], folder[MAX_PATH];
  if (!GetEnvironmentVariableW(L"QUARN_RECORD_LOG", log, MAX_PATH)) return 0;
  GetCurrentDirectoryW(MAX_PATH, folder);
  FILE* file = nullptr;
  for (int attempt = 0; attempt < 500 && !(file = _wfsopen(log, L"a, ccs=UTF-8", _SH_DENYRW)); ++attempt) Sleep(10);
  if (!file) return 1;
  fwprintf(file, L"%ls | %ls\n", folder, GetCommandLineW());
  fclose(file);
  return 0;
}
