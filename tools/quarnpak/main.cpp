// quarnpak: builds and inspects package archives. Windows hands the arguments over as UTF-16,
// so any file name the system holds arrives intact; they travel on as UTF-8.
#include <string>
#include <vector>

#include "tools/quarnpak/Cli.h"

#ifdef _WIN32
#include "toolkit/core/CodePage.h"
#include "toolkit/core/SystemLibrary.h"

int wmain(int argc, wchar_t** argv) {
  tk::RestrictDllSearchToSystem();
  std::vector<std::string> args;
  try {
    for (int i = 1; i < argc; ++i) args.push_back(tk::WideToUtf8(argv[i]));
  } catch (...) {
    return qp::kExitFailed;  // no memory for the arguments: nothing can be said either
  }
  return qp::RunQuarnpak(args);
}
#else
int main(int argc, char** argv) { return qp::RunQuarnpak(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
