// The archive header. Fields are held in declaration order; the disk order is HeaderWord0,
// HeaderWord1, DirectoryOffset, EntryCount, Description, Filler, Version, CreationTime.
#pragma once

#include <cstdint>
#include <string>

#include "pak/PakGlobals.h"
#include "toolkit/core/Component.h"
#include "toolkit/core/DateTime.h"
#include "toolkit/core/Stream.h"

namespace pak {

class TkexPakHeader : public tk::TPersistent {
 public:
  // The defaults of a new archive, created now.
  TkexPakHeader();

  // Plain reads and writes of the 115 bytes, field by field.
  void LoadFromStream(tk::TStream& stream);
  void SaveToStream(tk::TStream& stream) const;

  void SetEntryCount(uint32_t value) { EntryCount = value; }
  void SetDirectoryOffset(uint32_t value) { DirectoryOffset = value; }
  std::string VersionText() const;
  std::string DescriptionText() const;

  char Description[kDescriptionSize];
  char Filler[kFillerSize];
  uint32_t EntryCount = 0;
  uint32_t DirectoryOffset = 0;
  uint16_t HeaderWord1 = kDefaultHeaderWord1;
  uint16_t HeaderWord0 = kDefaultHeaderWord0;
  char Version[kVersionSize];
  tk::TDateTime CreationTime;
};

}  // namespace pak
