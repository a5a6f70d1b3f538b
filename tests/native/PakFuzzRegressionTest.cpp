// Every input the archive fuzzer keeps, replayed through the fuzzer's own round: the regression
// cases (each once a fault it found) and the handmade seeds. Runs in every tree, so g++ and MinGW
// builds check what the clang fuzzing tree found.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "PakTestSupport.h"
#include "tests/fuzz/PakFuzzRound.h"

namespace fs = std::filesystem;
using namespace pakt;

TEST(PakFuzzRegressions, EveryKeptInputPasses) {
  ScratchFolder dir;
  std::vector<fs::path> inputs;
  for (const char* folder : {"regressions", "seeds"})
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(QUARN_FUZZ_INPUTS) / folder))
      if (entry.is_regular_file() && entry.path().extension() != ".md") inputs.push_back(entry.path());
  std::sort(inputs.begin(), inputs.end());
  ASSERT_FALSE(inputs.empty());
  for (const fs::path& input : inputs) {
    SCOPED_TRACE(input.filename().string());
    std::string bytes = ReadBytes(input);
    std::string problem;
    EXPECT_NO_THROW(problem = pakfuzz::RunPackageRound(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                                       dir.Path()));
    EXPECT_EQ(problem, "");
  }
}
