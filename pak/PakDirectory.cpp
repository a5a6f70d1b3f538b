#include "pak/PakDirectory.h"

#include "toolkit/core/Errors.h"

namespace pak {

TkexPakDirectoryItem& TkexPakDirectory::Item(int32_t index) const {
  if (index < 0 || index >= Count()) throw tk::EListError(tk::Format("列表索引越界 (%d)", static_cast<int>(index)));
  return *Items[static_cast<size_t>(index)];
}

void TkexPakDirectory::LoadFromStream(tk::TStream& stream, uint16_t count) {
  Items.reserve(Items.size() + count);
  for (uint32_t i = 0; i < count; ++i) {
    auto item = std::make_unique<TkexPakDirectoryItem>();
    item->LoadFromStream(stream);
    Items.push_back(std::move(item));
  }
}

void TkexPakDirectory::SaveToStream(tk::TStream& stream) const {
  for (const auto& item : Items) item->SaveToStream(stream);
}

void TkexPakDirectory::Clear() {
  while (!Items.empty()) Items.pop_back();
}

}  // namespace pak
