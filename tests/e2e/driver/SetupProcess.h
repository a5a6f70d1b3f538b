// setup.exe started as a person starts it: from a folder that holds it and Setup.pak.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/driver/Wait.h"

namespace e2e {

// Variables, by name and value, that a started program gets in place of the driver's own.
using EnvironmentChanges = std::vector<std::pair<std::wstring, std::wstring>>;

// Copies the built setup.exe and Setup.pak from the driver's own folder into `folder`. False
// when either is missing there or the copy fails.
bool PlaceSetup(const std::wstring& folder, std::string* problem);

class SetupProcess {
 public:
  // Starts `folder`\setup.exe with that folder as its current folder, as a double-click does.
  explicit SetupProcess(const std::wstring& folder) : SetupProcess(folder, L"setup.exe", L"") {}
  // Starts `folder`\program with arguments, as a script or a deployment tool does. A
  // tempFolder is the program's TEMP and TMP, as a user's profile gives them; otherwise it has
  // the driver's environment.
  SetupProcess(const std::wstring& folder, const std::wstring& program, const std::wstring& arguments,
               const std::wstring& tempFolder = std::wstring());
  // The same with the driver's environment changed as given.
  SetupProcess(const std::wstring& folder, const std::wstring& program, const std::wstring& arguments,
               const EnvironmentChanges& changes);
  // Ends the program if it still runs, so that no test leaves it behind.
  ~SetupProcess();
  SetupProcess(const SetupProcess&) = delete;
  SetupProcess& operator=(const SetupProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD Id() const { return id_; }
  bool Running() const;
  // True once the program has ended by itself within the limit.
  bool WaitForExit(unsigned timeoutMs = kWindowWait);
  // Valid once it has ended.
  DWORD ExitCode() const;
  // Ends it at once, with the programs it started that still run, and waits for its end.
  void End();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

}  // namespace e2e
