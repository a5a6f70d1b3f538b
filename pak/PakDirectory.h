// The archive's directory: its items in directory order, owned.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "pak/PakDirectoryItem.h"

namespace pak {

class TkexPakDirectory : public tk::TPersistent {
 public:
  TkexPakDirectory() = default;
  ~TkexPakDirectory() override { Clear(); }

  int32_t Count() const { return static_cast<int32_t>(Items.size()); }
  // EListError for an index outside 0 .. Count - 1.
  TkexPakDirectoryItem& Item(int32_t index) const;

  // Appends count new items, each read from the stream in turn.
  void LoadFromStream(tk::TStream& stream, uint16_t count);
  void SaveToStream(tk::TStream& stream) const;
  // Frees the items, the last first.
  void Clear();

  std::vector<std::unique_ptr<TkexPakDirectoryItem>> Items;
};

}  // namespace pak
