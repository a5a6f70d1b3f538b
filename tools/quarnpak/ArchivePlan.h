// What `create` will write, converted to GBK and checked against the format's limits before a
// single byte is written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/quarnpak/TreeWalk.h"

namespace qp {

struct PlannedEntry {
  std::string name;  // GBK, at most 256 bytes
  uint16_t kind = 0;
  std::filesystem::path source;
  uint64_t size = 0;
};

struct ArchivePlan {
  std::string version;      // GBK, at most 21 bytes
  std::string description;  // GBK, at most 50 bytes
  std::vector<PlannedEntry> entries;
  uint64_t archiveSize = 0;  // header, data and directory, without the digest block
};

// Header, data and directory together.
uint64_t ArchiveSizeFor(uint64_t entryCount, uint64_t dataBytes);

// Refuses, with a ToolError listing every problem, a name GBK cannot hold, a name over 256
// bytes or unsafe to unpack, a version over 21 or description over 50 bytes, more than 65,535
// entries, or an archive over 4,294,967,295 bytes.
ArchivePlan PlanArchive(const std::vector<SourceEntry>& entries, const std::string& versionUtf8,
                        const std::string& descriptionUtf8);

}  // namespace qp
