// Stands in for the application server's service program, which service.bat beside it calls:
//   tomcat5-service install NAME   register the service NAME and remember JAVA_HOME for it
//   tomcat5-service remove NAME    stop it if it runs, then delete it
//   tomcat5-service --service NAME what the service control manager runs: the installed site
//                                  on http://127.0.0.1:8080/
// The program lives in <install folder>\tomcat5\bin; the site is the install folder.
// With QUARN_STANDIN_NEVER_END set, install and remove never end (tools/standins/NeverEnd.h);
// with QUARN_STANDIN_CONSOLES set, they note their console (tools/standins/TestNotes.h).
#include <windows.h>

#include <string>

#include "tools/standins/Console.h"
#include "tools/standins/NeverEnd.h"
#include "tools/standins/ServiceHost.h"
#include "tools/standins/ServiceSetup.h"
#include "tools/standins/SiteServer.h"
#include "tools/standins/TestNotes.h"

using namespace standin;

namespace {

const wchar_t kJavaHomeParameter[] = L"JavaHome";

int Usage() {
  PrintError(L"usage: service.bat install NAME | remove NAME");
  return 2;
}

std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024];
  DWORD length = GetEnvironmentVariableW(name, value, 1024);
  return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

// The service takes the Java runtime of the installation's environment, as it was when the
// service was registered; the service manager's own environment is older than that.
int Install(const std::wstring& name) {
  std::wstring javaHome = Environment(L"JAVA_HOME");
  if (javaHome.empty()) PrintLine(L"JAVA_HOME is not set; the service will look for it when it starts.");
  int result = InstallSelfAsService(name);
  if (result == 0 && !javaHome.empty() && !WriteServiceParameter(name, kJavaHomeParameter, javaHome))
    PrintError(L"could not record JAVA_HOME for the service");
  return result;
}

// This program's folder + "..\..\", made plain.
std::wstring InstallFolder() {
  wchar_t full[MAX_PATH];
  std::wstring folder = OwnPath();
  folder.erase(folder.find_last_of(L'\\') + 1);
  folder += L"..\\..\\";
  DWORD length = GetFullPathNameW(folder.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::wstring(full, length) : folder;
}

// The system-wide value as the registry holds it now: a service manager started before the
// installation set it does not hand it to its services.
std::wstring SystemJavaHome() {
  wchar_t value[1024];
  DWORD bytes = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager\\Environment", L"JAVA_HOME",
                   RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ, nullptr, value, &bytes) != ERROR_SUCCESS)
    return std::wstring();
  return value;
}

int Serve(const std::wstring& name) {
  return RunAsService(name, [&name](ServiceRun& run) {
    site::SiteSettings settings;
    settings.installFolder = InstallFolder();
    settings.javaHome = ReadServiceParameter(name, kJavaHomeParameter);
    if (settings.javaHome.empty()) settings.javaHome = Environment(L"JAVA_HOME");
    if (settings.javaHome.empty()) settings.javaHome = SystemJavaHome();
    return site::ServeSite(settings, run.StopEvent(), [&run] { run.ReportRunning(); });
  });
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 || !IsValidServiceName(argv[2])) return Usage();
  std::wstring command = argv[1], name = argv[2];
  if (command == L"install" || command == L"remove") {
    NoteConsoleWhenAsked("tomcat5-service");
    NeverEndWhenAsked();
  }
  if (command == L"install") return Install(name);
  if (command == L"remove") return RemoveService(name);
  if (command == L"--service") return Serve(name);
  return Usage();
}
