// Stands in for the database server's service tool: the same command lines for registering
// and removing its Windows service; run as that service it holds its place until stopped.
//   mysqld-nt --install NAME   register the service NAME (started on demand)
//   mysqld-nt --remove NAME    stop it if it runs, then delete it
//   mysqld-nt --service NAME   what the service control manager runs
#include <windows.h>

#include <string>

#include "tools/standins/Console.h"
#include "tools/standins/ServiceHost.h"
#include "tools/standins/ServiceSetup.h"

using namespace standin;

namespace {

int Usage() {
  PrintError(L"usage: mysqld-nt --install NAME | --remove NAME");
  return 2;
}

DWORD WaitUntilStopped(ServiceRun& run) {
  run.ReportRunning();
  WaitForSingleObject(run.StopEvent(), INFINITE);
  return NO_ERROR;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 || !IsValidServiceName(argv[2])) return Usage();
  std::wstring option = argv[1], name = argv[2];
  if (option == L"--install") return InstallSelfAsService(name);
  if (option == L"--remove") return RemoveService(name);
  if (option == L"--service") return RunAsService(name, WaitUntilStopped);
  return Usage();
}
