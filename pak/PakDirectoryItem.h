// One directory entry. Fields are held in declaration order; the disk order is the reverse
// (Name, Kind, DataOffset, DataSize).
#pragma once

#include <cstdint>
#include <string>

#include "pak/PakGlobals.h"
#include "toolkit/core/Component.h"
#include "toolkit/core/Stream.h"

namespace pak {

class TkexPakDirectoryItem : public tk::TPersistent {
 public:
  TkexPakDirectoryItem() = default;

  // Plain reads: a short read is no error, the bytes not read keep their former values.
  void LoadFromStream(tk::TStream& stream);
  void SaveToStream(tk::TStream& stream) const;
  // The name up to its first zero byte, or all 256 bytes.
  std::string NameText() const;

  uint32_t DataSize = 0;
  uint32_t DataOffset = 0;
  uint16_t Kind = 0;
  char Name[kNameSize] = {};
};

}  // namespace pak
