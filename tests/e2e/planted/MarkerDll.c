/* A DLL named like a system DLL, to be planted beside a program. When a process loads it, it
 * adds a line to a file named after itself ("version.dll") in the folder that QUARN_DLL_MARKERS
 * names: the path of the program that loaded it. It does nothing else. It exports nothing: a
 * program that imports the real DLL's functions cannot start with it, which a test sees as well. */
#include <windows.h>

static const wchar_t* FileName(const wchar_t* path) {
  const wchar_t* name = path;
  for (const wchar_t* c = path; *c; ++c)
    if (*c == L'\\' || *c == L'/') name = c + 1;
  return name;
}

static void LeaveMarker(HINSTANCE self) {
  wchar_t folder[MAX_PATH], own[MAX_PATH], program[MAX_PATH], marker[2 * MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"QUARN_DLL_MARKERS", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  if (!GetModuleFileNameW(self, own, MAX_PATH) || !GetModuleFileNameW(NULL, program, MAX_PATH)) return;
  lstrcpyW(marker, folder);
  if (marker[length - 1] != L'\\') lstrcatW(marker, L"\\");
  lstrcatW(marker, FileName(own));
  HANDLE file = CreateFileW(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return;
  char text[3 * MAX_PATH + 2];
  int size = WideCharToMultiByte(CP_UTF8, 0, program, -1, text, 3 * MAX_PATH, NULL, NULL);
  DWORD written;
  if (size > 0) {
    text[size - 1] = '\n';
    WriteFile(file, text, (DWORD)size, &written, NULL);
  }
  CloseHandle(file);
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
  return TRUE;
}
