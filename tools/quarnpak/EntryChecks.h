// What `verify` and `extract` check of every entry before anything is written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pak/PakDirectory.h"

namespace qp {

struct EntryProblem {
  int32_t index;
  std::string name;  // GBK, as stored
  std::string problem;
};

// Every entry whose name is unsafe (EntryNames), whose data that unpacking reads lie outside a
// file of fileSize bytes, or whose file would stand where another entry needs a folder.
std::vector<EntryProblem> CheckEntries(const pak::TkexPakDirectory& directory, uint64_t fileSize);

// "entry 3 \"../x\": ..." for the user, in UTF-8.
std::string Describe(const EntryProblem& problem);

}  // namespace qp
