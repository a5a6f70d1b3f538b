// Services, processes and HTTP for tests that drive the service tools: what a test checks
// comes from the service control manager and the socket, never from console text.
#pragma once

#include "tests/e2e/driver/Http.h"

#include <windows.h>

#include <string>

namespace testing_support {

// A program built into the same folder as the running test program.
std::wstring BuiltProgram(const wchar_t* fileName);

// Runs a command line in `folder` (the current one when empty) and waits up to two minutes.
// The exit code, or -1 when it could not start or did not end (it is then ended).
long RunCommand(const std::wstring& commandLine, const std::wstring& folder = std::wstring());

struct ServiceInfo {
  bool exists = false;
  DWORD state = 0;  // SERVICE_RUNNING ...
  DWORD type = 0;
  DWORD startType = 0;
  std::wstring binaryPath;
};
ServiceInfo QueryService(const std::wstring& name);

// Waits up to ten seconds for the service to reach `state`.
bool WaitForServiceState(const std::wstring& name, DWORD state);

// Stops the service if it runs, waits for its process to end, and deletes it: for set-up and
// tear-down, so that no test leaves a service or its process behind, whatever happened.
void DeleteServiceIfPresent(const std::wstring& name);

// The site as the end-to-end driver reaches it, on the Tomcat stand-in's port by default.
using e2e::HttpAnswer;
inline HttpAnswer HttpGet(const std::string& target, unsigned short port = 8080) { return e2e::HttpGet(target, port); }

}  // namespace testing_support
