// Running a command line as a process of its own and waiting for it.
#pragma once

#include <cstdint>
#include <string>

namespace pub {

// SW_SHOW: the service tools' consoles are shown, as the user would see them run.
constexpr uint16_t kShowWindow = 5;

// Starts the command line (GBK; the program is its first token, looked up by the system's
// usual rules, the current directory among them) in a new console shown with showMode, in
// this program's environment and current directory, and blocks until it has ended. Returns
// its exit code, or 0 when it could not be started. No window messages run meanwhile.
uint32_t RunAndWait(const std::string& commandLine, uint16_t showMode);

}  // namespace pub
