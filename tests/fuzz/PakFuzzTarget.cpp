// libFuzzer entry: each input is a package for the archive object (see PakFuzzRound.h). A fault
// aborts, so libFuzzer keeps the input; the sanitizers report the rest.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/fuzz/PakFuzzRound.h"

namespace {

std::filesystem::path scratch;

void RemoveScratch() {
  std::error_code ec;
  std::filesystem::remove_all(scratch, ec);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  scratch = std::filesystem::temp_directory_path() / ("quarn-pak-fuzz-" + std::to_string(getpid()));
  std::filesystem::create_directories(scratch);
  std::atexit(RemoveScratch);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string problem = pakfuzz::RunPackageRound(data, size, scratch);
  if (!problem.empty()) {
    std::fprintf(stderr, "archive fault: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
