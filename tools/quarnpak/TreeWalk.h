// What `create` stores from a source folder: every regular file, and every folder that ends up
// holding no stored entry, with names relative to the folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qp {

struct SourceEntry {
  std::string name;                // UTF-8, '/' between components; a folder's ends in '/'
  uint16_t kind = 0;               // pak::kKindFile or pak::kKindFolder
  std::filesystem::path source;    // the file whose bytes are stored; empty for a folder
  uint64_t size = 0;
};

struct SourceTree {
  std::vector<SourceEntry> entries;  // sorted by the bytes of their names
  std::vector<std::string> skipped;  // what was left out, and why (UTF-8, for the user)
};

// Symbolic links are never followed, so nothing outside root is stored; they and special
// files (pipes, devices, sockets) are skipped and noted. ToolError when a folder cannot be read.
SourceTree WalkSourceTree(const std::filesystem::path& root);

}  // namespace qp
