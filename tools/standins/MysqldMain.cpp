// Stands in for the database server's service tool: the same command lines for registering
// and removing its Windows service. Run as that service it does what the real server does to
// the files a repair must not lose: it opens its data file (datadir\ibdata1, by its my.ini)
// for writing, shared for reading only, holds it until stopped, and writes to it when asked.
// It fails to start, as the real server does, when its data folder is missing.
//   mysqld-nt --install NAME   register the service NAME (started on demand)
//   mysqld-nt --remove NAME    stop it if it runs, then delete it
//   mysqld-nt --write NAME     ask the running service NAME to write a row to its data file
//   mysqld-nt --service NAME   what the service control manager runs
// With QUARN_STANDIN_NEVER_END set, --install and --remove never end (tools/standins/NeverEnd.h);
// with QUARN_STANDIN_CONSOLES set, they note their console (tools/standins/TestNotes.h).
#include <windows.h>

#include <string>

#include "tools/standins/Console.h"
#include "tools/standins/DatabaseFiles.h"
#include "tools/standins/NeverEnd.h"
#include "tools/standins/ServiceHost.h"
#include "tools/standins/ServiceSetup.h"
#include "tools/standins/TestNotes.h"

using namespace standin;

namespace {

HANDLE g_dataFile = INVALID_HANDLE_VALUE;  // the control handler writes through it
int g_rows = 0;

int Usage() {
  PrintError(L"usage: mysqld-nt --install NAME | --remove NAME | --write NAME");
  return 2;
}

DWORD Serve(ServiceRun& run) {
  const std::wstring data = DataFolderOf(OwnPath());
  if (!data.empty()) {
    const DWORD attributes = GetFileAttributesW(data.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_PATH_NOT_FOUND;
    g_dataFile = CreateFileW((data + L"\\" + kDataFileName).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (g_dataFile == INVALID_HANDLE_VALUE) return GetLastError();
  }
  run.ReportRunning();
  WaitForSingleObject(run.StopEvent(), INFINITE);
  if (g_dataFile != INVALID_HANDLE_VALUE) CloseHandle(g_dataFile);
  g_dataFile = INVALID_HANDLE_VALUE;
  return NO_ERROR;
}

bool WriteRow(DWORD control) {
  if (control != kWriteRowControl || g_dataFile == INVALID_HANDLE_VALUE) return false;
  const std::string row = "row " + std::to_string(++g_rows) + " " + std::to_string(GetTickCount64()) + "\r\n";
  DWORD written = 0;
  return SetFilePointer(g_dataFile, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
         WriteFile(g_dataFile, row.data(), static_cast<DWORD>(row.size()), &written, nullptr) &&
         written == row.size() && FlushFileBuffers(g_dataFile);
}

int AskToWrite(const std::wstring& name) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = manager ? OpenServiceW(manager, name.c_str(), SERVICE_USER_DEFINED_CONTROL) : nullptr;
  SERVICE_STATUS status = {};
  const bool written = service && ControlService(service, kWriteRowControl, &status);
  const DWORD error = written ? NO_ERROR : GetLastError();
  if (service) CloseServiceHandle(service);
  if (manager) CloseServiceHandle(manager);
  if (!written) {
    PrintError(L"the service '" + name + L"' did not write: " + SystemMessage(error));
    return 1;
  }
  PrintLine(L"Row written.");
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 || !IsValidServiceName(argv[2])) return Usage();
  std::wstring option = argv[1], name = argv[2];
  if (option == L"--install" || option == L"--remove") {
    NoteConsoleWhenAsked("mysqld-nt");
    NeverEndWhenAsked();
  }
  if (option == L"--install") return InstallSelfAsService(name);
  if (option == L"--remove") return RemoveService(name);
  if (option == L"--write") return AskToWrite(name);
  if (option == L"--service") return RunAsService(name, Serve, WriteRow);
  return Usage();
}
