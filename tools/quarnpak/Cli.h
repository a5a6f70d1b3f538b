// quarnpak's command line.
#pragma once

#include <string>
#include <vector>

namespace qp {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // bad input, damaged archive, failed write
constexpr int kExitUsage = 2;

// Runs one command; args are the words after the program name, in UTF-8 (on POSIX the bytes
// as given, which name files as they are). Returns the exit code.
int RunQuarnpak(const std::vector<std::string>& args);

}  // namespace qp
