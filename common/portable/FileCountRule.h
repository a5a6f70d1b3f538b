// Which listed files the file count takes: those whose attribute word holds read-only (1),
// hidden (2), system (4), volume label (8), folder (16) or archive (32). A file whose only
// attribute is NORMAL (128) holds none of these and is not counted, so the count can be lower
// than the number of files a copy of the same tree reports.
#pragma once

#include <cstdint>

namespace pub {

constexpr uint32_t kCountedAttributes = 0x3F;

inline bool IsCountedFile(uint32_t attributes) { return (attributes & kCountedAttributes) != 0; }

}  // namespace pub
