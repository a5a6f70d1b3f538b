// Stands in for a service tool in tests: tells by its exit code what console it runs in.
// 1: its console's window is shown; 2: its console has no window, or one that is not shown;
// 4 more when it shares the console with another program (the command processor of a batch
// file); 8: it has no console at all.
#include <windows.h>

int wmain() {
  DWORD processes[4];
  const DWORD sharing = GetConsoleProcessList(processes, 4);
  if (sharing == 0) return 8;
  const HWND window = GetConsoleWindow();
  return (window && IsWindowVisible(window) ? 1 : 2) + (sharing > 1 ? 4 : 0);
}
