// Layout constants of the package archive: a 115-byte header, the data region, then the
// directory of 266-byte entries. Integers are little-endian; texts are zero-padded GBK.
#pragma once

#include <cstdint>

namespace pak {

constexpr int32_t kHeaderSize = 115;
constexpr int32_t kEntrySize = 266;
constexpr int32_t kDescriptionSize = 50;
constexpr int32_t kFillerSize = 24;
constexpr int32_t kVersionSize = 21;
constexpr int32_t kNameSize = 256;
constexpr uint32_t kMaxEntries = 65535;
constexpr uint64_t kMaxArchiveSize = 0xFFFFFFFFull;

// Kind of an entry whose data are written to a file when unpacked; every other kind is listed only.
constexpr uint16_t kKindFile = 0;
// Kind quarnpak gives an empty folder ("name/").
constexpr uint16_t kKindFolder = 1;

// Defaults of a newly created archive.
constexpr const char* kDefaultDescription = "Quarn软件工作室";
constexpr const char* kDefaultVersion = "1.0.0";
constexpr char kFillerByte = 'X';
constexpr uint16_t kDefaultHeaderWord0 = 0;
constexpr uint16_t kDefaultHeaderWord1 = 1;

}  // namespace pak
