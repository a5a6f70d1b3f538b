#include <cstdio>

#include "tools/quarnpak/Console.h"

namespace qp {

void PrintLine(const std::string& utf8) { std::printf("%s\n", utf8.c_str()); }

void PrintError(const std::string& utf8) {
  std::fflush(stdout);
  std::fprintf(stderr, "quarnpak: %s\n", utf8.c_str());
}

}  // namespace qp
