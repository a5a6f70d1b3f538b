// Whether the drives a run writes to have room for it, asked before the first file is written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pub {

struct SpaceShortage {
  std::string drive;  // the volume's root, "C:\"
  uint64_t needed = 0;
  uint64_t available = 0;
};

// needs: (folder, bytes) pairs; the folders need not exist yet. Folders on one volume are
// summed and that volume is asked once. The first volume short of space, if any; a volume
// whose free space cannot be read is taken to have room (the write itself will tell).
std::optional<SpaceShortage> FindSpaceShortage(const std::vector<std::pair<std::string, uint64_t>>& needs);

// "1.5 MB" and the like, for messages.
std::string ByteCountText(uint64_t bytes);

}  // namespace pub
